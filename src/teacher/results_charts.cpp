// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/results_charts.h"

#include <QPainter>

#include <algorithm>

namespace corvane::teacher {

namespace {

constexpr int kShareRow = 20;
const QColor kBar(0x33, 0x66, 0x99);
const QColor kRight(0x22, 0xaa, 0x66);
const QColor kTrack(0xdd, 0xdd, 0xdd);

} // namespace

void paintSpread(QPainter& painter, const QRect& area, const std::vector<int>& spread) {
    if (spread.empty()) return;
    const int most = std::max(1, *std::max_element(spread.begin(), spread.end()));
    const int text = painter.fontMetrics().height();
    const int column = area.width() / static_cast<int>(spread.size());
    const int room = area.height() - 2 * text; // a line for the counts, a line for the scores
    for (std::size_t score = 0; score < spread.size(); ++score) {
        const int x = area.left() + static_cast<int>(score) * column;
        const int height = room * spread[score] / most;
        const int top = area.top() + text + room - height;
        painter.fillRect(QRect(x + 1, top, std::max(1, column - 2), height), kBar);
        if (spread[score] > 0)
            painter.drawText(QRect(x, top - text, column, text), Qt::AlignHCenter,
                             QString::number(spread[score]));
        painter.drawText(QRect(x, area.top() + text + room, column, text), Qt::AlignHCenter,
                         QString::number(score));
    }
}

void paintShares(QPainter& painter, const QRect& area,
                 const std::vector<results::QuestionShare>& shares, int pupils) {
    const int row = std::max(painter.fontMetrics().height() + 4,
                             area.height() / std::max<int>(1, shares.size()));
    // The share's text is never cut: its widest form is measured, the label and bar share the
    // rest.
    const int shareWidth =
        painter.fontMetrics().horizontalAdvance(results::shareText(pupils, pupils)) + 12;
    const int rest = std::max(0, area.width() - shareWidth);
    const int labelWidth = rest * 11 / 17;
    const int barWidth = rest * 6 / 17;
    int y = area.top();
    for (const results::QuestionShare& share : shares) {
        const QRect label(area.left(), y, labelWidth - 6, row);
        painter.drawText(
            label, Qt::AlignVCenter | Qt::AlignLeft,
            painter.fontMetrics().elidedText(share.label(), Qt::ElideRight, label.width()));
        const QRect track(area.left() + labelWidth, y + 3, barWidth, row - 6);
        painter.fillRect(track, kTrack);
        painter.fillRect(QRect(track.topLeft(),
                               QSize(barWidth * share.right / std::max(1, pupils), track.height())),
                         kRight);
        painter.drawText(QRect(track.right() + 6, y, area.right() - track.right() - 6, row),
                         Qt::AlignVCenter | Qt::AlignLeft, results::shareText(share.right, pupils));
        y += row;
    }
}

ScoreSpread::ScoreSpread(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("scoreSpread"));
    setAccessibleName(tr("Spread of scores"));
    setMinimumHeight(90);
}

void ScoreSpread::showTest(const results::TestSummary& test) {
    spread_ = test.spread;
    QStringList described;
    for (std::size_t score = 0; score < spread_.size(); ++score)
        if (spread_[score] > 0)
            described
                << tr("%1 scored %2").arg(results::counted(spread_[score], tr("pupil"))).arg(score);
    setAccessibleDescription(described.join(QStringLiteral(", ")));
    setToolTip(accessibleDescription());
    update();
}

void ScoreSpread::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintSpread(painter, rect().adjusted(2, 2, -2, -2), spread_);
}

ShareBars::ShareBars(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("shareBars"));
    setAccessibleName(tr("Share right per question, hardest first"));
}

void ShareBars::showTest(const results::TestSummary& test) {
    shares_ = test.shares;
    pupils_ = test.pupilCount();
    QStringList described;
    for (const results::QuestionShare& share : shares_)
        described << share.label() + QStringLiteral(": ") +
                         results::shareText(share.right, pupils_);
    setAccessibleDescription(described.join(QStringLiteral("; ")));
    updateGeometry();
    update();
}

QSize ShareBars::sizeHint() const {
    return {520, static_cast<int>(shares_.size()) * kShareRow + 4};
}

void ShareBars::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect area = rect().adjusted(2, 2, -2, -2);
    area.setHeight(static_cast<int>(shares_.size()) * kShareRow);
    paintShares(painter, area, shares_, pupils_);
}

} // namespace corvane::teacher
