// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace corvane {

// Every failure of the program is one of these; what() is the exact message shown to the user.
class AppError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline const char* const kRangeCheckError = "Range check error";

[[noreturn]] inline void raiseRangeCheck() {
    throw AppError(kRangeCheckError);
}

// "I/O error N", N being the system's error code.
[[noreturn]] void raiseIoError(int code);

// The failure to open `path` (a file, or a folder to enter) with the system's error `code`, as
// the user reads it: "File not found", "Invalid filename", "File access denied", "Too many open
// files", or "I/O error N".
[[noreturn]] void raiseOpenError(int code, const std::string& path);

} // namespace corvane
