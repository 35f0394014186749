// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/normalise.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace corvane {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The text with only the characters for which keep() is true, in their order.
template <typename Keep> Text keepOnly(const Text& text, Keep keep) {
    Text kept;
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept), keep);
    return kept;
}

bool isOneOf(char c, std::string_view set) {
    return set.find(c) != std::string_view::npos;
}

} // namespace

Text removespace(const Text& text) {
    return keepOnly(text, [](char c) { return c != ' '; });
}

Text tocomma(const Text& text) {
    if (text.size() < 2) return {};
    return keepOnly(text, [](char c) { return isDigit(c) || isOneOf(c, ".,-"); });
}

Text totime(const Text& text) {
    Text time = keepOnly(text, [](char c) { return isDigit(c) || isOneOf(c, ".:-,APM"); });
    // Every separator a pupil might write between hours and minutes becomes a point.
    std::replace_if(
        time.begin(), time.end(), [](char c) { return isOneOf(c, "-:,"); }, '.');
    return time;
}

bool isnumchar(char c) {
    return isDigit(c) || c == '-' || c == '.';
}

Text topair(const Text& text) {
    const Text trimmed = trim(text);
    if (trimmed.empty()) return "0,0";

    const auto begin = trimmed.begin();
    const auto end = trimmed.end();
    const auto firstEnd = std::find_if_not(begin, end, isnumchar);
    const auto secondBegin = std::find_if(firstEnd, end, isnumchar);
    const auto secondEnd = std::find_if_not(secondBegin, end, isnumchar);

    auto written = [](auto from, auto to) { return from == to ? Text("!") : Text(from, to); };
    return written(begin, firstEnd) + "," + written(secondBegin, secondEnd);
}

} // namespace corvane
