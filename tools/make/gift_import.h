// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::make {

// A GIFT question that no test question fits: where it starts, its ::title:: if it has one,
// and why it was left out.
struct GiftLeftOut {
    int line = 0;
    std::string title;
    std::string reason;
};

// A GIFT file converted: the test source text (UTF-8) of the questions that fit, how many they
// are, and the questions left out, in file order.
struct GiftImport {
    std::string source;
    int made = 0;
    std::vector<GiftLeftOut> leftOut;
};

// Converts a GIFT file's bytes into test source. `testName` heads the source; the callers
// take it from the file's name (see giftTestName).
GiftImport importGift(std::string_view file, const std::string& testName);

// The test's name for a GIFT file: its file name without folder and extension.
std::string giftTestName(std::string_view path);

// "quiz.gift:12: left out (Capitals): it is a matching question ..."
std::string describe(const std::string& sourceName, const GiftLeftOut& leftOut);

// For corvane-make: the test source of the GIFT file at `path` whose bytes are `file`. Each
// question left out is named on `report`; with no question made, that is said there too and
// the result is empty.
std::optional<std::string> giftSourceForMake(const std::string& path, std::string_view file,
                                             std::string& report);

} // namespace corvane::make
