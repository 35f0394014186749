// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/question_store.h"

#include <cstdint>

namespace corvane {

// The pupil's typed money answer in the form compared with the stored answer line.
Text currencyForm(const Text& typed);

// The forms typed answers are compared in: a word, a number and a time are compared in these
// forms on both sides; a pair's form is compared with the answer line as it stands.
Text wordForm(const Text& text);
Text commaForm(const Text& text);
Text timeForm(const Text& text);
Text pairForm(const Text& text);

// True when question q of the store is answered right. Raises "Range check error" when a
// choice, yes/no or order question has optionCount above 5.
bool isQuestionRight(const QuestionStore& store, int q);

// Marks questions 1..questionCount: writes their flags in `right` and counts the right ones in
// `score`, which starts at 0. Both are written as marking goes, so when a question raises an
// error the flags and the score of the questions before it stay.
void markAll(const QuestionStore& store, RightFlags& right, std::int32_t& score);

struct Completeness {
    bool allAnswered = true;
    int firstUnanswered = -1;
};

// Which questions still lack an answer (choices with nothing ticked, empty typed answers).
Completeness checkCompleteness(const QuestionStore& store);

// "Score: 4 out of  5     Well Done! " and the like. A test without questions gets the plain
// line, never the praise.
Text scoreLine(std::int32_t score, std::int32_t questionCount);

} // namespace corvane
