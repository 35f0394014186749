// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The class page and a pupil's page on paper.
#include "tools/results/summary.h"

#include <QStringList>

class QPagedPaintDevice;
class QPrinter;

namespace corvane::teacher {

// The test's class page on one page of `device`, however many pupils and questions: the class
// average and spread, the grid of ticks and crosses, the hardest questions with their wrong
// answers, and who has not finished.
void paintClassPage(QPagedPaintDevice& device, const results::TestSummary& test,
                    const QStringList& missing);

// A pupil's page (its HTML) over as many pages as it needs.
void printPupilPage(QPrinter& printer, const QString& html);

} // namespace corvane::teacher
