#pragma once

#include "core/question_store.h"

#include <QString>

namespace corvane::bench {

inline constexpr char kBenchTestName[] = "Bench Thirty";

// Writes the test "Bench Thirty" into `testFolder`: 30 questions cycling through every question
// type, a front page and one page per question, each a copy of `samplePage` (a bundled question
// page) so that the browser has a realistic page to draw. Returns the test file's path.
QString writeThirtyQuestionTest(const QString& testFolder, const QString& samplePage);

// Answers every question of the store right, as a pupil who finished the test would have.
void answerAll(QuestionStore& store);

} // namespace corvane::bench
