// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/results_print.h"

#include "teacher/results_charts.h"
#include "tools/results/reports.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

#include <algorithm>

namespace corvane::teacher {

namespace {

// The page is laid out on a sheet this many units wide, as tall as the paper's shape makes it.
constexpr int kSheetWidth = 1000;
constexpr int kNameWidth = 220;
constexpr int kScoreWidth = 70;
constexpr int kHardest = 5;

QFont sized(QFont font, int pixels, bool bold = false) {
    font.setPixelSize(std::max(pixels, 4));
    font.setBold(bold);
    return font;
}

// Draws `text` as lines at y and returns the y below it.
int paragraph(QPainter& painter, int y, const QString& text, int pixels, bool bold = false) {
    painter.setFont(sized(painter.font(), pixels, bold));
    const QRect room(0, y, kSheetWidth, 10 * pixels);
    QRect used;
    painter.drawText(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text, &used);
    return used.bottom() + pixels / 2;
}

void paintGrid(QPainter& painter, int top, int rowHeight, const results::TestSummary& test) {
    const int cell = test.questions > 0
                         ? std::min(40, (kSheetWidth - kNameWidth - kScoreWidth) / test.questions)
                         : 0;
    painter.setFont(sized(painter.font(), rowHeight * 7 / 10, true));
    painter.drawText(QRect(0, top, kNameWidth, rowHeight), Qt::AlignVCenter,
                     QStringLiteral("Pupil"));
    painter.drawText(QRect(kNameWidth, top, kScoreWidth, rowHeight), Qt::AlignVCenter,
                     QStringLiteral("Score"));
    for (int q = 1; q <= test.questions; ++q)
        painter.drawText(QRect(kNameWidth + kScoreWidth + (q - 1) * cell, top, cell, rowHeight),
                         Qt::AlignCenter, QString::number(q));
    painter.setFont(sized(painter.font(), rowHeight * 7 / 10));
    int y = top + rowHeight;
    for (const results::PupilResult& pupil : test.pupils) {
        painter.drawLine(0, y, kNameWidth + kScoreWidth + test.questions * cell, y);
        const QRect name(0, y, kNameWidth - 4, rowHeight);
        painter.drawText(
            name, Qt::AlignVCenter,
            painter.fontMetrics().elidedText(pupil.name, Qt::ElideRight, name.width()));
        painter.drawText(QRect(kNameWidth, y, kScoreWidth, rowHeight), Qt::AlignVCenter,
                         QStringLiteral("%1/%2").arg(pupil.chosen.score).arg(test.questions));
        int q = 0;
        for (const results::QuestionResult& result : pupil.chosen.questions)
            painter.drawText(QRect(kNameWidth + kScoreWidth + q++ * cell, y, cell, rowHeight),
                             Qt::AlignCenter,
                             result.right ? QStringLiteral("\u2713") : QStringLiteral("\u2717"));
        y += rowHeight;
    }
}

} // namespace

void paintClassPage(QPagedPaintDevice& device, const results::TestSummary& test,
                    const QStringList& missing) {
    QPainter painter(&device);
    const QRect page = painter.viewport();
    const int sheetHeight = kSheetWidth * page.height() / std::max(1, page.width());
    painter.setWindow(0, 0, kSheetWidth, sheetHeight);

    int y = paragraph(painter, 0, test.displayName(), 28, true);
    y = paragraph(painter, y,
                  QStringLiteral("%1, %2. Class average: %3. %4")
                      .arg(results::counted(test.questions, QStringLiteral("question")),
                           results::counted(test.pupilCount(), QStringLiteral("pupil")),
                           test.averageText(), results::choiceSentence(test.choice)),
                  16);
    painter.setFont(sized(painter.font(), 12));
    paintSpread(painter, QRect(0, y, 300, 70), test.spread);
    y += 80;

    // What follows the grid, measured first so that the grid takes the room that is left.
    QStringList hardest;
    for (const results::QuestionShare& share : test.shares) {
        if (hardest.size() == kHardest) break;
        const QString wrong = results::wrongAnswersText(share);
        hardest << QStringLiteral("%1: %2%3")
                       .arg(share.label(), results::shareText(share.right, test.pupilCount()),
                            wrong.isEmpty() ? QString() : QStringLiteral("; wrong: ") + wrong);
    }
    const QString after = QStringLiteral("Hardest questions:\n") + hardest.join(u'\n') +
                          (missing.isEmpty() ? QString()
                                             : QStringLiteral("\n\nNot finished: ") +
                                                   missing.join(QStringLiteral(", ")));
    painter.setFont(sized(painter.font(), 14));
    const int afterHeight =
        painter.boundingRect(QRect(0, 0, kSheetWidth, sheetHeight), Qt::TextWordWrap, after)
            .height();
    const int rows = test.pupilCount() + 1;
    const int rowHeight = std::min(28, (sheetHeight - y - afterHeight - 20) / std::max(1, rows));
    paintGrid(painter, y, rowHeight, test);
    y += rows * rowHeight + 20;
    paragraph(painter, y, after, 14);
}

void printPupilPage(QPrinter& printer, const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
}

} // namespace corvane::teacher
