// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/results/summary.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace corvane::results {

// Per test: the class average, the pupils with their score, time and attempts, then each
// question, hardest first, with its share right and its most common wrong answers.
QString textReport(const std::vector<TestSummary>& tests);

// One row per pupil and test with the attempt rule that chose it ("latest", "best", "first"), a
// column per question (1 right, 0 wrong): UTF-8, RFC 4180; with a
// byte-order mark first for the spreadsheets that need one to read UTF-8.
QByteArray csvReport(const std::vector<TestSummary>& tests, bool byteOrderMark = false);

// One sheet: which attempt counted, then a row per pupil and test with the scores as numbers
// and a column per question (1 right, 0 wrong); no formulas. Written whole to `path` or not at
// all; returns why it could not be written, empty when it was.
QString writeXlsxReport(const QString& path, const std::vector<TestSummary>& tests,
                        AttemptChoice choice);

// One page per class: the chart of the share right per question, hardest first and labelled
// with the questions' headings, the class average and spread, the grid of pupils against
// questions, and the tables of the text report.
QString htmlReport(const std::vector<TestSummary>& tests);

// When a pupil finished, in the time zone of the computer that saved it.
QString finishedText(const Record& record);

// The question's label cut to a chart's or a table's width, with "…" where it was cut.
QString shortLabel(const QuestionShare& share, qsizetype chars = 48);

// `text` with its control characters shown as \x1b, \n, \t…: safe to write to a terminal.
// Every record's text that reaches a terminal goes through this.
QString printable(const QString& text, bool keepLineEnds = false);

// "A ×3, B ×2": the most common wrong answers with their counts, at most `most` of them.
QString wrongAnswersText(const QuestionShare& share, int most = 3);

} // namespace corvane::results
