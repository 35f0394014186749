// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/line_source.h"

#include "core/app_error.h"
#include "core/numbers.h"

#include <cerrno>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

constexpr int kCarriageReturn = 13;
constexpr int kLineFeed = 10;
constexpr std::size_t kMaxTokenBytes = 32;

bool isBlank(int byte) {
    return byte <= 32;
}
bool isLineEnd(int byte) {
    return byte == kCarriageReturn || byte == kLineFeed;
}

} // namespace

// Only a regular file is read: a folder, a named pipe or a device (a pipe would block the open,
// /dev/zero would never end) is refused. O_NONBLOCK keeps the open of a pipe from waiting for a
// writer; it has no effect on reading a regular file.
TestFileLines::TestFileLines(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) raiseOpenError(errno, path);
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw AppError("File access denied");
    }
}

TestFileLines::~TestFileLines() {
    ::close(fd_);
}

void TestFileLines::fill() {
    ssize_t count = 0;
    do {
        count = ::read(fd_, buffer_.data(), buffer_.size());
    } while (count < 0 && errno == EINTR);
    if (count < 0) raiseIoError(errno);
    pos_ = 0;
    size_ = static_cast<std::size_t>(count);
    if (count == 0) ended_ = true;
}

int TestFileLines::peekSlow() {
    if (!ended_ && pos_ == size_) fill();
    if (ended_) return kEnd;
    const int byte = buffer_[pos_];
    if (byte == kCtrlZ) ended_ = true;
    return ended_ ? kEnd : byte;
}

// Consumes the rest of the current line and its line end (CR LF counts as one).
void TestFileLines::skipToNextLine() {
    while (peek() != kEnd && !isLineEnd(peek()))
        advance();
    if (peek() == kCarriageReturn) {
        advance();
        if (peek() == kLineFeed) advance();
    } else if (peek() == kLineFeed) {
        advance();
    }
}

Text TestFileLines::readText() {
    Text line;
    while (peek() != kEnd && !isLineEnd(peek())) {
        // The bytes up to the next line end, Ctrl-Z or the end of the buffer, in one append.
        const std::size_t start = pos_;
        while (pos_ < size_ && !isLineEnd(buffer_[pos_]) && buffer_[pos_] != kCtrlZ)
            advance();
        line.append(reinterpret_cast<const char*>(buffer_.data() + start), pos_ - start);
    }
    skipToNextLine();
    return line;
}

std::int32_t TestFileLines::readInteger() {
    while (peek() != kEnd && isBlank(peek()))
        advance();
    if (peek() == kEnd) return 0;
    std::string token;
    for (int byte = peek(); byte != kEnd && !isBlank(byte); byte = peek()) {
        // A token longer than any number can be is not a number; it is not cut short.
        if (token.size() == kMaxTokenBytes) throw AppError("Invalid numeric input");
        token.push_back(static_cast<char>(byte));
        advance();
    }
    const auto value = parseInteger(token);
    if (!value) throw AppError("Invalid numeric input");
    skipToNextLine();
    return *value;
}

} // namespace corvane
