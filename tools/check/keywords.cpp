// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/keywords.h"

#include "core/question_store.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

namespace corvane::check {

namespace {

// Indexed by type code; entry 0 is the code without a keyword.
constexpr std::array<std::string_view, 12> kKeywords{
    "",       "KSINGLECHOICE", "KMULTICHOICE", "KWORD",      "KORDER",      "KCURRENCY",
    "KCOMMA", "KTIME",         "KYESNO",       "KORDERUSER", "KMULTIENTRY", "KMULTIENTRYMULTI"};

// Levenshtein distance: insertions, deletions and substitutions of one byte each cost 1.
int editDistance(std::string_view a, std::string_view b) {
    std::vector<int> previous(b.size() + 1);
    std::iota(previous.begin(), previous.end(), 0);
    std::vector<int> current(b.size() + 1);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const int substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

} // namespace

std::string_view keywordName(std::int32_t code) {
    if (code < KSINGLECHOICE || code > KMULTIENTRYMULTI) return {};
    return kKeywords[static_cast<std::size_t>(code)];
}

std::int32_t typeCodeOf(const Text& line) {
    const Text upper = upperCase(line);
    for (std::int32_t code = KSINGLECHOICE; code <= KMULTIENTRYMULTI; ++code)
        if (upper == keywordName(code)) return code;
    return KNOTYPE;
}

NearKeyword nearestKeyword(const Text& line) {
    const Text cleaned = upperCase(trim(line));
    NearKeyword nearest{kKeywords[1], editDistance(cleaned, kKeywords[1])};
    for (std::int32_t code = KMULTICHOICE; code <= KMULTIENTRYMULTI; ++code) {
        const int distance = editDistance(cleaned, keywordName(code));
        if (distance < nearest.distance) nearest = {keywordName(code), distance};
    }
    return nearest;
}

} // namespace corvane::check
