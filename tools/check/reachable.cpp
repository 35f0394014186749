// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/reachable.h"

#include "core/marking_rules.h"

#include <algorithm>

namespace corvane::check {

namespace {

constexpr char kPound = static_cast<char>(0xA3);

bool removedFromMoney(char c) {
    return c == ' ' || (c >= 'a' && c <= 'z') || c == 'P' || c == kPound;
}

} // namespace

std::optional<Text> currencyInput(const Text& stored) {
    if (stored.size() == 1) {
        // One character stays as typed, after upper-casing; a blank is removed.
        const char c = stored.front();
        if (c == ' ' || (c >= 'a' && c <= 'z')) return std::nullopt;
        return stored;
    }
    if (std::any_of(stored.begin(), stored.end(), removedFromMoney)) return std::nullopt;
    // A leading "P" is dropped again but keeps a leading point from gaining a "0", and makes
    // the typed text long enough to be cleaned up; an empty form needs two such letters.
    return stored.empty() ? Text("PP") : "P" + stored;
}

bool pairReachable(const Text& stored) {
    return pairForm(stored) == stored;
}

} // namespace corvane::check
