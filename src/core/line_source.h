// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane {

// A test file opened for reading strictly forwards, line by line. A line ends at CR, CR LF or
// a bare LF; the physical end of the file or a byte 26 (Ctrl-Z) ends the file. Reading past
// the end gives empty texts and zeros. Failures throw AppError with the user-facing message.
class TestFileLines {
  public:
    explicit TestFileLines(const std::string& path);
    ~TestFileLines();
    TestFileLines(const TestFileLines&) = delete;
    TestFileLines& operator=(const TestFileLines&) = delete;

    // The bytes up to the line end (may be empty); the line end is consumed.
    Text readText();

    // Passes over blanks and line ends, then reads one 32-bit integer (0 at the end of the
    // file) and skips the rest of its line. A malformed number throws "Invalid numeric input".
    std::int32_t readInteger();

  private:
    static constexpr int kEnd = -1;
    static constexpr int kCtrlZ = 26;

    // The next byte, or kEnd; the common case of a byte in the buffer is inline.
    int peek() {
        if (!ended_ && pos_ < size_ && buffer_[pos_] != kCtrlZ) return buffer_[pos_];
        return peekSlow();
    }
    int peekSlow();
    void advance() { ++pos_; }
    void skipToNextLine();
    void fill();

    int fd_ = -1;
    bool ended_ = false;
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
    std::array<unsigned char, 4096> buffer_{};
};

} // namespace corvane
