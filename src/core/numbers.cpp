// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numbers.h"

namespace corvane {

namespace {

int digitValue(char c, int base) {
    int value = base;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// Accumulates the digits, failing on an empty run, a stray byte or a value above `limit`.
std::optional<std::uint64_t> digitsValue(std::string_view digits, int base, std::uint64_t limit) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int digit = digitValue(c, base);
        if (digit < 0) return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > limit) return std::nullopt;
    }
    return value;
}

// The digits after a hexadecimal prefix, or nothing when the token has no such prefix.
std::optional<std::string_view> hexDigits(std::string_view token) {
    if (token.starts_with('$') || token.starts_with('x') || token.starts_with('X'))
        return token.substr(1);
    if (token.starts_with("0x") || token.starts_with("0X")) return token.substr(2);
    return std::nullopt;
}

} // namespace

std::optional<std::int32_t> parseInteger(std::string_view token) {
    constexpr std::uint64_t kMaxPositive = 0x7FFFFFFF;
    bool negative = false;
    if (token.starts_with('+') || token.starts_with('-')) {
        negative = token.front() == '-';
        token.remove_prefix(1);
    } else if (const auto hex = hexDigits(token)) {
        const auto pattern = digitsValue(*hex, 16, 0xFFFFFFFF);
        if (!pattern) return std::nullopt;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(*pattern));
    }
    const auto magnitude = digitsValue(token, 10, kMaxPositive + (negative ? 1 : 0));
    if (!magnitude) return std::nullopt;
    const auto value = static_cast<std::int64_t>(*magnitude);
    return static_cast<std::int32_t>(negative ? -value : value);
}

} // namespace corvane
