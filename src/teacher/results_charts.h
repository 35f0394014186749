// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The class page's two small charts, painted. Each also says what it shows in its accessible
// description, since a screen reader cannot read the bars.
#include "tools/results/summary.h"

#include <QWidget>

namespace corvane::teacher {

// Pupils per score, a column per score from 0 to the test's question count.
class ScoreSpread : public QWidget {
  public:
    explicit ScoreSpread(QWidget* parent = nullptr);
    void showTest(const results::TestSummary& test);
    QSize sizeHint() const override { return {260, 110}; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    std::vector<int> spread_;
};

// The share right per question, hardest first, each bar labelled with the question's heading.
class ShareBars : public QWidget {
  public:
    explicit ShareBars(QWidget* parent = nullptr);
    void showTest(const results::TestSummary& test);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    std::vector<results::QuestionShare> shares_;
    int pupils_ = 0;
};

// Both charts paint through these, on the screen and on paper.
void paintSpread(QPainter& painter, const QRect& area, const std::vector<int>& spread);
void paintShares(QPainter& painter, const QRect& area,
                 const std::vector<results::QuestionShare>& shares, int pupils);

} // namespace corvane::teacher
