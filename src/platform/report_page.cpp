// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/report_page.h"

#include <QPainter>

namespace corvane {
namespace {

constexpr char kProgramName[] = "Corvane Maths";
// Lines on a page: a title, four header lines, a gap, the column heads and 30 rows, with room
// to spare so that a long answer cut to its column never crowds the page.
constexpr double kLinesPerPage = 42.0;

struct Columns {
    double number, answer, verdict, right, end;
};

Columns columnsFor(const QRectF& page, bool withRightAnswers) {
    const double w = page.width();
    if (withRightAnswers)
        return {page.left(), page.left() + 0.08 * w, page.left() + 0.45 * w, page.left() + 0.58 * w,
                page.right()};
    return {page.left(), page.left() + 0.08 * w, page.left() + 0.80 * w, page.right(),
            page.right()};
}

} // namespace

void paintReport(QPainter& painter, const QRectF& page, const Report& report) {
    const double line = page.height() / kLinesPerPage;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(qMax(1, int(line * 0.62)));
    painter.save();
    painter.fillRect(page, Qt::white);
    painter.setPen(Qt::black);

    double y = page.top();
    auto text = [&](double left, double right, const QString& s, bool bold = false) {
        QFont f = font;
        f.setBold(bold);
        painter.setFont(f);
        const QRectF cell(left, y, right - left - line * 0.3, line);
        const QString shown =
            QFontMetricsF(f, painter.device()).elidedText(s, Qt::ElideRight, cell.width());
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, shown);
    };

    QFont title = font;
    title.setPixelSize(qMax(1, int(line * 1.1)));
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRectF(page.left(), y, page.width(), line * 1.6),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(kProgramName));
    y += line * 2;
    const QString finished = QLocale().toString(report.finished, QLocale::LongFormat);
    for (const QString& header :
         {"Test: " + toQt(report.testName), "Pupil: " + toQt(report.pupilName),
          "Finished: " + finished, toQt(trim(report.scoreLine))}) {
        text(page.left(), page.right(), header);
        y += line;
    }
    y += line;

    const Columns c = columnsFor(page, report.withRightAnswers);
    text(c.number, c.answer, QStringLiteral("No."), true);
    text(c.answer, c.verdict, QStringLiteral("Answer given"), true);
    text(c.verdict, c.right, QStringLiteral("Verdict"), true);
    if (report.withRightAnswers) text(c.right, c.end, QStringLiteral("Right answer"), true);
    y += line;
    painter.drawLine(QPointF(page.left(), y), QPointF(page.right(), y));
    for (const ReportRow& row : report.rows) {
        text(c.number, c.answer, QString::number(row.number));
        text(c.answer, c.verdict, toQt(row.answer));
        text(c.verdict, c.right, toQt(verdictText(row.right)));
        if (report.withRightAnswers) text(c.right, c.end, toQt(row.rightAnswer));
        y += line;
    }
    painter.restore();
}

} // namespace corvane
