// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/range_array.h"
#include "core/text.h"

#include <cstdint>

namespace corvane {

// Type codes held in questionType.
enum QuestionTypeCode : std::int32_t {
    KNOTYPE = 0,
    KSINGLECHOICE = 1,
    KMULTICHOICE = 2,
    KWORD = 3,
    KORDER = 4,
    KCURRENCY = 5,
    KCOMMA = 6,
    KTIME = 7,
    KYESNO = 8,
    KORDERUSER = 9,
    KMULTIENTRY = 10,
    KMULTIENTRYMULTI = 11,
};

inline constexpr int kMaxQuestions = 30;
inline constexpr int kMaxOptions = 5;
inline constexpr int kMaxAlternatives = 10;

template <typename T> using PerQuestion = RangeArray<T, 1, kMaxQuestions>;
using OptionRow = RangeArray<std::int32_t, 1, kMaxOptions>;
using LabelRow = RangeArray<Text, 0, kMaxOptions>;
using AlternativeRow = RangeArray<Text, 1, kMaxAlternatives>;

// One test's questions and the pupil's answers to them. Every field starts 0 / empty.
struct QuestionStore {
    std::int32_t questionCount = 0;
    PerQuestion<std::int32_t> questionType;
    PerQuestion<std::int32_t> optionCount;
    PerQuestion<OptionRow> answerKey;
    PerQuestion<Text> answerText;
    PerQuestion<LabelRow> optionLabel;
    PerQuestion<std::int32_t> fixedItemPos;
    PerQuestion<Text> fixedItemText;
    PerQuestion<std::int32_t> altCount;
    PerQuestion<AlternativeRow> altText;

    PerQuestion<Text> userText;
    PerQuestion<OptionRow> userMarks;
    PerQuestion<std::int32_t> orderNext;
};

// True for the types answered by typing into the answer box.
constexpr bool isTypedAnswer(std::int32_t type) {
    return type == KWORD || type == KCURRENCY || type == KCOMMA || type == KTIME ||
           type == KMULTIENTRY || type == KMULTIENTRYMULTI;
}

// Empties the pupil's answers for questions 1..questionCount (nothing when it is 0 or less).
void resetAnswers(QuestionStore& store);

// Marking results: element i is true when question i was right at the last marking.
using RightFlags = RangeArray<bool, 1, 50>;

} // namespace corvane
