#include "tools/results/reports.h"

#include <QStringList>

#include <algorithm>

namespace corvane::results {

namespace {

using Row = QStringList;

// Columns padded to their widest cell, two spaces apart, indented by two.
QString table(const std::vector<Row>& rows) {
    std::vector<qsizetype> widths;
    for (const Row& row : rows)
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (widths.size() <= static_cast<std::size_t>(i)) widths.push_back(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    QString out;
    for (const Row& row : rows) {
        QString line = QStringLiteral("  ");
        for (qsizetype i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row[i].leftJustified(widths[i] + 2) : row[i];
        out += line + QLatin1Char('\n');
    }
    return out;
}

} // namespace

QString finishedText(const Record& record) {
    return record.finished.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString textReport(const std::vector<TestSummary>& tests) {
    QString out;
    for (const TestSummary& test : tests) {
        if (!out.isEmpty()) out += QLatin1Char('\n');
        out += QStringLiteral("%1: %2, %3\n\n")
                   .arg(test.title(), counted(test.questions, QStringLiteral("question")),
                        counted(test.pupilCount(), QStringLiteral("pupil")));
        std::vector<Row> pupils{{"Pupil", "Score", "Finished", "Attempts"}};
        for (const PupilResult& pupil : test.pupils)
            pupils.push_back({pupil.latest.pupil,
                              QStringLiteral("%1/%2").arg(pupil.latest.score).arg(test.questions),
                              finishedText(pupil.latest), QString::number(pupil.attempts)});
        out += table(pupils) + QLatin1Char('\n');
        std::vector<Row> shares{{"Question", "Right"}};
        for (const QuestionShare& share : test.shares)
            shares.push_back({QStringLiteral("Q%1").arg(share.number),
                              shareText(share.right, test.pupilCount())});
        out += table(shares);
    }
    return out;
}

} // namespace corvane::results
