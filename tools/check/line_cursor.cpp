// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/line_cursor.h"

#include "core/numbers.h"

namespace corvane::check {

namespace {

constexpr char kCtrlZ = 26;
constexpr std::size_t kMaxTokenBytes = 32;

} // namespace

std::string_view readablePart(std::string_view bytes) {
    return bytes.substr(0, bytes.find(kCtrlZ));
}

std::vector<LineEnd> lineEnds(std::string_view bytes) {
    std::vector<LineEnd> ends;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            ends.push_back(LineEnd::None);
            break;
        }
        if (bytes[end] == '\n') {
            ends.push_back(LineEnd::Lf);
            pos = end + 1;
        } else if (end + 1 < bytes.size() && bytes[end + 1] == '\n') {
            ends.push_back(LineEnd::CrLf);
            pos = end + 2;
        } else {
            ends.push_back(LineEnd::Cr);
            pos = end + 1;
        }
    }
    return ends;
}

bool LineCursor::atLineEnd() const {
    return !atEnd() && (bytes_[pos_] == '\r' || bytes_[pos_] == '\n');
}

// Consumes one line end (CR LF counts as one) and moves to the next line.
void LineCursor::skipLineEnd() {
    if (bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
}

void LineCursor::skipToNextLine() {
    while (!atEnd() && !atLineEnd())
        ++pos_;
    if (atLineEnd()) skipLineEnd();
}

Text LineCursor::readText() {
    lastLine_ = line_;
    const std::size_t begin = pos_;
    while (!atEnd() && !atLineEnd())
        ++pos_;
    Text text(bytes_.substr(begin, pos_ - begin));
    if (atLineEnd()) skipLineEnd();
    return text;
}

std::optional<std::int32_t> LineCursor::readInteger() {
    while (!atEnd() && byte() <= 32) {
        if (atLineEnd())
            skipLineEnd();
        else
            ++pos_;
    }
    lastLine_ = line_;
    if (atEnd()) return 0;
    const std::size_t begin = pos_;
    while (!atEnd() && byte() > 32)
        ++pos_;
    const std::string_view token = bytes_.substr(begin, pos_ - begin);
    if (token.size() > kMaxTokenBytes) return std::nullopt;
    const auto value = parseInteger(token);
    if (value) skipToNextLine();
    return value;
}

} // namespace corvane::check
