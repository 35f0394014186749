// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/app_error.h"

#include <cerrno>
#include <filesystem>

namespace corvane {

namespace {

// Linux reports a missing file and a missing folder on its path alike; the parent folder tells
// them apart.
bool parentFolderExists(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    return parent.empty() || std::filesystem::is_directory(parent, ignored);
}

} // namespace

void raiseIoError(int code) {
    throw AppError("I/O error " + std::to_string(code));
}

void raiseOpenError(int code, const std::string& path) {
    switch (code) {
    case ENOENT:
        throw AppError(parentFolderExists(path) ? "File not found" : "Invalid filename");
    case ENOTDIR:
        throw AppError("Invalid filename");
    case EACCES:
    case EPERM:
    case EISDIR:
        throw AppError("File access denied");
    case EMFILE:
    case ENFILE:
        throw AppError("Too many open files");
    default:
        raiseIoError(code);
    }
}

} // namespace corvane
