// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/results/reports.h"

#include "core/class_record.h"

#include <algorithm>

namespace corvane::results {

namespace {

// A spreadsheet runs a cell that starts like a formula; a pupil's name must stay a name.
QByteArray textCell(const QString& text) {
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    const bool formula = !text.isEmpty() && formulaStarts.contains(text.front());
    return corvane::csvField((formula ? QLatin1Char('\'') + text : text).toUtf8());
}

void appendLine(QByteArray& out, const QByteArrayList& cells) {
    out += cells.join(',') + "\r\n";
}

} // namespace

QByteArray csvReport(const std::vector<TestSummary>& tests, bool byteOrderMark) {
    int columns = 0;
    for (const TestSummary& test : tests)
        columns = std::max(columns, test.questions);
    QByteArrayList header{"Test",      "Test checksum", "Pupil",    "Finished",       "Score",
                          "Questions", "Attempts",      "Computer", "Attempt counted"};
    for (int q = 1; q <= columns; ++q)
        header << "Q" + QByteArray::number(q);
    QByteArray out = byteOrderMark ? QByteArrayLiteral("\xEF\xBB\xBF") : QByteArray();
    appendLine(out, header);
    for (const TestSummary& test : tests)
        for (const PupilResult& pupil : test.pupils) {
            const Record& record = pupil.chosen;
            QByteArrayList cells{
                textCell(test.test),
                test.checksum.toLatin1(),
                textCell(pupil.name),
                record.finished.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1(),
                QByteArray::number(record.score),
                QByteArray::number(test.questions),
                QByteArray::number(pupil.attemptCount()),
                textCell(record.computer),
                choiceWord(test.choice).toLatin1()};
            for (const QuestionResult& question : record.questions)
                cells << (question.right ? "1" : "0");
            while (cells.size() < header.size())
                cells << QByteArray();
            appendLine(out, cells);
        }
    return out;
}

} // namespace corvane::results
