// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A test's class page in the window: the class average, the share right per question hardest
// first, the spread of scores, the grid of pupils against questions (a tick or a cross, the
// answer in the tooltip and the accessible text), the wrong answers, and who has not finished.
#include "tools/results/summary.h"

#include <QWidget>

class QLabel;
class QTableWidget;

namespace corvane::teacher {

class ScoreSpread;
class ShareBars;

class ClassView : public QWidget {
    Q_OBJECT
  public:
    explicit ClassView(QWidget* parent = nullptr);

    // Shows `test` (none: null; `anyRecords` tells an empty folder from no choice) with the
    // names of the class list missing from it, and marks its pupils that are not on the list
    // (`strangers`); the pupil whose grouping key is `newestPupil` is marked as just finished.
    // The keyboard's place in the tables stays where it was.
    void showTest(const results::TestSummary* test, const QStringList& missing,
                  const QStringList& strangers, const QString& newestPupil, bool anyRecords);

  signals:
    void pupilActivated(const QString& name); // Enter or a double click on a pupil's row

  private:
    void fillGrid(const results::TestSummary& test, const QStringList& strangers,
                  const QString& newestPupil);
    void fillQuestions(const results::TestSummary& test);

    QLabel* summary_;
    ShareBars* bars_;
    ScoreSpread* spread_;
    QTableWidget* grid_;
    QTableWidget* questions_;
    QLabel* missing_;
};

} // namespace corvane::teacher
