// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/results/reports.h"

#include <algorithm>

namespace corvane::results {

namespace {

constexpr int kBarRow = 24;      // pixels per question in the chart
constexpr int kLabelWidth = 360; // the question's number and heading
constexpr int kBarWidth = 300;   // a share of 100%

const char* const kStyle =
    "body{font-family:sans-serif;margin:2em;color:#000;background:#fff}"
    "table{border-collapse:collapse;margin:1em 0}"
    "caption,h3{text-align:left;font-weight:bold;font-size:1em;white-space:nowrap}"
    "th,td{border:1px solid #888;padding:.3em .6em;text-align:left}"
    "td.n{text-align:right}td.ok,td.no{text-align:center}td.no{background:#fdd}"
    "svg text{font-size:14px;font-family:sans-serif}";

QString cell(const QString& text, bool number = false) {
    return (number ? QStringLiteral("<td class=\"n\">") : QStringLiteral("<td>")) +
           text.toHtmlEscaped() + QStringLiteral("</td>");
}

// Horizontal bars, hardest question first, each labelled with its heading and its share.
QString shareChart(const TestSummary& test) {
    const int pupils = std::max(test.pupilCount(), 1);
    QString svg = QStringLiteral("<h3>Share right per question, hardest first</h3>\n<svg "
                                 "xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" "
                                 "height=\"%2\" role=\"img\" aria-label=\"Share right per "
                                 "question, hardest first\">\n")
                      .arg(kLabelWidth + kBarWidth + 150)
                      .arg(test.questions * kBarRow + 8);
    int row = 0;
    for (const QuestionShare& share : test.shares) {
        const int y = row++ * kBarRow + 4;
        svg += QStringLiteral("<g><title>%1: %2</title><text x=\"0\" y=\"%3\">%4</text>"
                              "<rect x=\"%5\" y=\"%6\" width=\"%7\" height=\"%8\" fill=\"#ddd\"/>"
                              "<rect x=\"%5\" y=\"%6\" width=\"%9\" height=\"%8\" fill=\"#2a6\"/>"
                              "<text x=\"%10\" y=\"%3\">%2</text></g>\n")
                   .arg(share.label().toHtmlEscaped(), shareText(share.right, test.pupilCount()))
                   .arg(y + 15)
                   .arg(shortLabel(share).toHtmlEscaped())
                   .arg(kLabelWidth)
                   .arg(y)
                   .arg(kBarWidth)
                   .arg(kBarRow - 6)
                   .arg(kBarWidth * share.right / pupils)
                   .arg(kLabelWidth + kBarWidth + 8);
    }
    return svg + QStringLiteral("</svg>\n");
}

// The spread of scores: pupils per score as a row of small bars.
QString spreadChart(const TestSummary& test) {
    constexpr int kColumn = 20, kHeight = 80;
    const int most = std::max(1, *std::max_element(test.spread.begin(), test.spread.end()));
    QStringList described;
    QString bars;
    for (std::size_t score = 0; score < test.spread.size(); ++score) {
        const int count = test.spread[score];
        const int height = kHeight * count / most;
        const int x = static_cast<int>(score) * kColumn;
        bars += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"#468\"/>"
                               "<text x=\"%1\" y=\"%5\">%6</text>\n")
                    .arg(x + 2)
                    .arg(kHeight - height)
                    .arg(kColumn - 4)
                    .arg(height)
                    .arg(kHeight + 16)
                    .arg(score);
        if (count > 0) described << QStringLiteral("%1 scored %2").arg(count).arg(score);
    }
    return QStringLiteral("<h3>Spread of scores</h3>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                          "width=\"%1\" height=\"%2\" role=\"img\" aria-label=\"%3\">\n")
               .arg(static_cast<int>(test.spread.size()) * kColumn)
               .arg(kHeight + 20)
               .arg(described.join(QStringLiteral(", ")).toHtmlEscaped()) +
           bars + QStringLiteral("</svg>\n");
}

// Pupils against questions: a tick or a cross, the pupil's answer in the cell's title.
QString grid(const TestSummary& test) {
    QString html = QStringLiteral("<table><caption>Each pupil's answers</caption>\n<tr><th>Pupil"
                                  "</th><th>Score</th><th>Finished</th><th>Attempts</th>");
    for (int q = 1; q <= test.questions; ++q)
        html += QStringLiteral("<th>Q%1</th>").arg(q);
    html += QStringLiteral("</tr>\n");
    for (const PupilResult& pupil : test.pupils) {
        html += QStringLiteral("<tr>") + cell(pupil.name) +
                cell(QStringLiteral("%1/%2").arg(pupil.chosen.score).arg(test.questions), true) +
                cell(finishedText(pupil.chosen)) +
                cell(QString::number(pupil.attemptCount()), true);
        int q = 0;
        for (const QuestionResult& result : pupil.chosen.questions)
            html +=
                QStringLiteral("<td class=\"%1\" title=\"%2\" aria-label=\"Q%3 %4: %2\">%5</td>")
                    .arg(result.right ? "ok" : "no", result.answer.toHtmlEscaped())
                    .arg(++q)
                    .arg(result.right ? "right" : "wrong",
                         result.right ? QStringLiteral("\u2713") : QStringLiteral("\u2717"));
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table>\n");
}

QString questionTable(const TestSummary& test) {
    QString html = QStringLiteral("<table><caption>Questions, hardest first</caption>"
                                  "<tr><th>Question</th><th>Right</th>"
                                  "<th>Most common wrong answers</th></tr>\n");
    for (const QuestionShare& share : test.shares)
        html += QStringLiteral("<tr>") + cell(share.label()) +
                cell(shareText(share.right, test.pupilCount()), true) +
                cell(wrongAnswersText(share)) + QStringLiteral("</tr>\n");
    return html + QStringLiteral("</table>\n");
}

} // namespace

QString htmlReport(const std::vector<TestSummary>& tests) {
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n"
                                  "<meta charset=\"utf-8\">\n<title>Class results</title>\n"
                                  "<style>%1</style>\n</head>\n<body>\n<h1>Class results</h1>\n")
                       .arg(QLatin1String(kStyle));
    if (tests.empty()) html += QStringLiteral("<p>No records.</p>\n");
    for (const TestSummary& test : tests)
        html += QStringLiteral("<section>\n<h2>%1</h2>\n<p>%2, %3. Class average: %4. %5</p>\n")
                    .arg(test.displayName().toHtmlEscaped(),
                         counted(test.questions, QStringLiteral("question")),
                         counted(test.pupilCount(), QStringLiteral("pupil")), test.averageText(),
                         choiceSentence(test.choice)) +
                shareChart(test) + spreadChart(test) + grid(test) + questionTable(test) +
                QStringLiteral("</section>\n");
    return html + QStringLiteral("</body>\n</html>\n");
}

} // namespace corvane::results
