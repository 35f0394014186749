// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace corvane::check {

// The readable part of a test file: everything before the first byte 26 (Ctrl-Z).
std::string_view readablePart(std::string_view bytes);

enum class LineEnd { CrLf, Cr, Lf, None };

// How each line of `bytes` ends, line 1 first; a last line without an end counts as None.
std::vector<LineEnd> lineEnds(std::string_view bytes);

// Walks a test file's bytes as the reader does (a line ends at CR, CR LF or a bare LF) and
// knows the line number of every field it reads, counted from 1.
class LineCursor {
  public:
    explicit LineCursor(std::string_view bytes) : bytes_(bytes) {}

    bool atEnd() const { return pos_ >= bytes_.size(); }
    // The line that the next read starts on.
    int line() const { return line_; }
    // The line of the last field read: for an integer, the line of its token.
    int lastLine() const { return lastLine_; }

    Text readText();
    // Passes over blanks and blank lines, then reads one integer token (0 at the end of the
    // file) and skips the rest of its line. No value when the token is not a 32-bit integer.
    std::optional<std::int32_t> readInteger();

  private:
    int byte() const { return static_cast<unsigned char>(bytes_[pos_]); }
    bool atLineEnd() const;
    void skipLineEnd();
    void skipToNextLine();

    std::string_view bytes_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int lastLine_ = 1;
};

} // namespace corvane::check
