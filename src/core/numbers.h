// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane {

// Converts the token of an integer line: an optional + or - followed by decimal digits, or,
// without a sign, hexadecimal digits after $, x, X, 0x or 0X. Decimal values must fit a 32-bit
// signed integer; hexadecimal values up to FFFFFFFF are taken as the 32-bit pattern
// ($FFFFFFFF is -1). Anything else gives no value.
std::optional<std::int32_t> parseInteger(std::string_view token);

} // namespace corvane
