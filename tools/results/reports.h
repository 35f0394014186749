#pragma once

#include "tools/results/summary.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace corvane::results {

// Per test: the pupils with their latest score, time and attempts, then the share of pupils
// who got each question right, hardest first.
QString textReport(const std::vector<TestSummary>& tests);

// One row per pupil and test, a column per question (1 right, 0 wrong): UTF-8, RFC 4180.
QByteArray csvReport(const std::vector<TestSummary>& tests);

// One page with the tables of the text report and a bar chart of the share right per question.
QString htmlReport(const std::vector<TestSummary>& tests);

// When a pupil finished, in the time zone of the computer that saved it.
QString finishedText(const Record& record);

} // namespace corvane::results
