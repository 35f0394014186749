// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rows of a finished test: what the pupil answered, the verdict, and (only where the
// teacher may see it) the right answer. The print-out and the class record both use them.
#include "core/question_store.h"

#include <QDateTime>

#include <vector>

namespace corvane {

struct ReportRow {
    int number = 0;
    Text answer; // as given: ticked letters, Yes or No, the order, the typed text, "no answer"
    bool right = false;
    Text rightAnswer; // the review's text; empty unless asked for
};

// What a print-out shows.
struct Report {
    Text testName;
    Text pupilName;
    QDateTime finished;
    Text scoreLine; // as on the results screen
    bool withRightAnswers = false;
    std::vector<ReportRow> rows;
};

// The pupil's answer to question q as the print-out and the record show it.
Text givenAnswerText(const QuestionStore& store, int q);

// "right" or "wrong".
Text verdictText(bool right);

// One row per question 1..questionCount, with the verdicts of the last marking.
std::vector<ReportRow> reportRows(const QuestionStore& store, const RightFlags& right,
                                  bool withRightAnswers);

} // namespace corvane
