// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane::check {

// The name of type code `code` ("KWORD"), or an empty view for a code with no keyword.
std::string_view keywordName(std::int32_t code);

// The code that the reader gives a type line: the keyword that the upper-cased line spells
// exactly, or 0.
std::int32_t typeCodeOf(const Text& line);

struct NearKeyword {
    std::string_view keyword;
    int distance = 0; // edit distance from the trimmed, upper-cased line
};

// The keyword closest to the trimmed, upper-cased line (the first one on a tie).
NearKeyword nearestKeyword(const Text& line);

} // namespace corvane::check
