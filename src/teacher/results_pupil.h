// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A pupil's page: every attempt at every test, each answer with its verdict and the right
// answer from the test in the library.
#include "tools/results/library_tests.h"
#include "tools/results/summary.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace corvane::teacher {

// The right answer to each question of the library's test with this checksum, as the review
// shows it; empty when the library has no such test.
QStringList rightAnswers(const results::LibraryTests& library, const QString& checksum);

// The names of every pupil of every test, grouped as names are, in alphabetical order.
QStringList pupilNames(const std::vector<results::TestSummary>& tests);

// The page as HTML, for the window and for paper.
QString pupilPageHtml(const QString& name, const std::vector<results::TestSummary>& tests,
                      const results::LibraryTests& library);

} // namespace corvane::teacher
