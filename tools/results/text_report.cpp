// SPDX-License-Identifier: GPL-3.0-or-later
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
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out += line + QLatin1Char('\n');
    }
    return out;
}

} // namespace

QString finishedText(const Record& record) {
    return record.finished.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString shortLabel(const QuestionShare& share, qsizetype chars) {
    const QString label = share.label();
    return label.size() <= chars ? label : label.left(chars - 1) + QChar(0x2026);
}

QString wrongAnswersText(const QuestionShare& share, int most) {
    QStringList parts;
    for (const WrongAnswer& wrong : share.wrong) {
        if (parts.size() == most) break;
        parts << QStringLiteral("%1 \u00D7%2").arg(wrong.answer).arg(wrong.count);
    }
    return parts.join(QStringLiteral(", "));
}

QString printable(const QString& text, bool keepLineEnds) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (keepLineEnds && (u == u'\n' || u == u'\r'))
            out += c;
        else if (u == u'\n')
            out += QStringLiteral("\\n");
        else if (u == u'\r')
            out += QStringLiteral("\\r");
        else if (u == u'\t')
            out += QStringLiteral("\\t");
        else if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029)
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString textReport(const std::vector<TestSummary>& tests) {
    QString out;
    for (const TestSummary& test : tests) {
        if (!out.isEmpty()) out += QLatin1Char('\n');
        out += QStringLiteral("%1: %2, %3, class average %4. %5\n\n")
                   .arg(printable(test.displayName()),
                        counted(test.questions, QStringLiteral("question")),
                        counted(test.pupilCount(), QStringLiteral("pupil")), test.averageText(),
                        choiceSentence(test.choice));
        std::vector<Row> pupils{{"Pupil", "Score", "Finished", "Attempts"}};
        for (const PupilResult& pupil : test.pupils)
            pupils.push_back({printable(pupil.name),
                              QStringLiteral("%1/%2").arg(pupil.chosen.score).arg(test.questions),
                              finishedText(pupil.chosen), QString::number(pupil.attemptCount())});
        out += table(pupils) + QLatin1Char('\n');
        std::vector<Row> shares{{"Question", "Right", "Most common wrong answers"}};
        for (const QuestionShare& share : test.shares)
            shares.push_back({printable(shortLabel(share)),
                              shareText(share.right, test.pupilCount()),
                              printable(wrongAnswersText(share))});
        out += table(shares);
    }
    return out;
}

} // namespace corvane::results
