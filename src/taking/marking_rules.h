#pragma once

#include "content/question_store.h"

#include <cstdint>

namespace corvane {

// The pupil's typed money answer in the form compared with the stored answer line.
Text currencyForm(const Text& typed);

// True when question q of the store is answered right. Raises "Range check error" when a
// choice, yes/no or order question has optionCount above 5.
bool isQuestionRight(const QuestionStore& store, int q);

// Marks questions 1..questionCount: writes their flags in `right` and returns the score.
std::int32_t markAll(const QuestionStore& store, RightFlags& right);

struct Completeness {
    bool allAnswered = true;
    int firstUnanswered = -1;
};

// Which questions still lack an answer (choices with nothing ticked, empty typed answers).
Completeness checkCompleteness(const QuestionStore& store);

// "Score: 4 out of  5     Well Done! " and the like.
Text scoreLine(std::int32_t score, std::int32_t questionCount);

} // namespace corvane
