// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/question_store.h"

#include <QColor>
#include <QPoint>
#include <QString>

namespace corvane::bench {

inline constexpr char kBenchTestName[] = "Bench Thirty";

// Writes the test "Bench Thirty" into `testFolder`: 30 questions cycling through every question
// type, a front page and one page per question, each a copy of `samplePage` (a bundled question
// page) so that the browser has a realistic page to draw, with a marker of its own: a square
// of pageMarker(number) around kMarkerSpot (in the page's view; the front page is number 0),
// by which a benchmark sees which page the screen shows. Returns the test file's path.
inline constexpr QPoint kMarkerSpot{40, 50};
QColor pageMarker(int number);
QString writeThirtyQuestionTest(const QString& testFolder, const QString& samplePage);

// Answers every question of the store right, as a pupil who finished the test would have.
void answerAll(QuestionStore& store);

} // namespace corvane::bench
