// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The texts shown in the answer panels' boxes, built from the question store. Each returns the
// box text exactly as drawn, trailing spaces included. Indices are checked by the store.
#include "core/question_store.h"

namespace corvane {

// " " + each accepted answer, separated by single spaces.
Text acceptedAnswersText(const QuestionStore& store, int question);

// "Right Answer :" + the letter and a space of every right option shown.
Text rightChoicesText(const QuestionStore& store, int question);

// "Yes" or "No".
Text rightYesNoText(const QuestionStore& store, int question);

// The pupil's order: the label and a space of each filled place, "?" for an empty one, the
// fixed item before its place, and one closing space.
Text pupilOrderText(const QuestionStore& store, int question);

// The right order in the same form, every place filled.
Text rightOrderText(const QuestionStore& store, int question);

// The right answer as the review's result box shows it for a wrong answer, by question type:
// one of the texts above, or the stored answer line of a typed question.
Text rightAnswerText(const QuestionStore& store, int question);

} // namespace corvane
