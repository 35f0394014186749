// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::make {

// A piece of GIFT text with its escapes resolved: `bytes` holds the characters, and `literal`
// marks those that were written with a backslash (\~ \= \# \{ \} \:), which never have a
// meaning of their own. \n becomes a line end.
struct GiftText {
    std::string bytes;
    std::vector<bool> literal;

    std::size_t size() const { return bytes.size(); }
    bool empty() const { return bytes.empty(); }
    // True when `token` starts at `at` and none of its characters was escaped.
    bool hasToken(std::size_t at, std::string_view token) const;
    // The first unescaped `token` at or after `from`, or npos.
    std::size_t find(std::string_view token, std::size_t from = 0) const;
    GiftText slice(std::size_t from, std::size_t to) const;
    // Without blanks and line ends at either end.
    GiftText trimmed() const;
};

// One blank-line separated block of a GIFT file: a question or a $CATEGORY line. `line` is the
// file line (from 1) of its first character.
struct GiftItem {
    int line = 0;
    GiftText text;
};

// Splits a GIFT file (UTF-8) into its blocks: lines whose first characters are // are comments
// and are dropped without ending a block; blank lines end one; a $CATEGORY line is a block of
// its own.
std::vector<GiftItem> splitGiftItems(std::string_view file);

} // namespace corvane::make
