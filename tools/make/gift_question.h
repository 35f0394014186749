// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make/gift_scan.h"

#include <optional>
#include <string>
#include <vector>

namespace corvane::make {

// What a GIFT block is, read from the shape of its answer block { }.
enum class GiftKind {
    Category,    // $CATEGORY: path
    Description, // text with no answer block
    Essay,       // { }
    TrueFalse,   // {T} {TRUE} {F} {FALSE}
    Choice,      // {=right ~wrong ...}
    ShortAnswer, // {=word =other}
    Numerical,   // {#number}
    Matching,    // {=a -> b ...}
    Broken,      // cannot be read; `problem` says why
};

// One answer of the block: `right` when written with =, the weight when %n% is given, its
// text without weight, format and feedback.
struct GiftAnswer {
    std::string text;
    bool right = false;
    std::optional<double> weight;
    std::string format; // [html], [plain] ... written in front of the answer, or empty
};

struct GiftQuestion {
    int line = 0;
    GiftKind kind = GiftKind::Broken;
    std::string title;             // ::title::, or the category's path
    std::string format = "moodle"; // [html], [moodle], [plain] or [markdown]
    // The question text; where the answer block stands inside the text, "_____" marks its place.
    std::string text;
    bool truth = false; // TrueFalse
    std::vector<GiftAnswer> answers;
    std::string problem; // Broken
};

GiftQuestion parseGiftItem(const GiftItem& item);

} // namespace corvane::make
