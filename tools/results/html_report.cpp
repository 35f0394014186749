#include "tools/results/reports.h"

namespace corvane::results {

namespace {

constexpr int kBarRow = 24;    // pixels per question in the chart
constexpr int kBarLeft = 48;   // room for "Q30"
constexpr int kBarWidth = 400; // a share of 100%

const char* const kStyle =
    "body{font-family:sans-serif;margin:2em;color:#000;background:#fff}"
    "table{border-collapse:collapse;margin:1em 0}"
    "caption,h3{text-align:left;font-weight:bold;font-size:1em;white-space:nowrap}"
    "th,td{border:1px solid #888;padding:.3em .8em;text-align:left}"
    "td.n{text-align:right}"
    "svg text{font-size:14px;font-family:sans-serif}";

QString cell(const QString& text, bool number = false) {
    return (number ? QStringLiteral("<td class=\"n\">") : QStringLiteral("<td>")) +
           text.toHtmlEscaped() + QStringLiteral("</td>");
}

QString pupilTable(const TestSummary& test) {
    QString html = QStringLiteral("<table><caption>Latest attempt of each pupil</caption>"
                                  "<tr><th>Pupil</th><th>Score</th><th>Finished</th>"
                                  "<th>Attempts</th></tr>\n");
    for (const PupilResult& pupil : test.pupils)
        html += QStringLiteral("<tr>") + cell(pupil.latest.pupil) +
                cell(QStringLiteral("%1/%2").arg(pupil.latest.score).arg(test.questions), true) +
                cell(finishedText(pupil.latest)) + cell(QString::number(pupil.attempts), true) +
                QStringLiteral("</tr>\n");
    return html + QStringLiteral("</table>\n");
}

QString shareTable(const TestSummary& test) {
    QString html = QStringLiteral("<table><caption>Pupils who got each question right, "
                                  "hardest first</caption>"
                                  "<tr><th>Question</th><th>Right</th></tr>\n");
    for (const QuestionShare& share : test.shares)
        html += QStringLiteral("<tr>") + cell(QStringLiteral("Q%1").arg(share.number)) +
                cell(shareText(share.right, test.pupilCount()), true) + QStringLiteral("</tr>\n");
    return html + QStringLiteral("</table>\n");
}

// Horizontal bars in question order, each labelled with its share.
QString shareChart(const TestSummary& test) {
    std::vector<int> rights(static_cast<std::size_t>(test.questions));
    for (const QuestionShare& share : test.shares)
        rights[static_cast<std::size_t>(share.number - 1)] = share.right;
    const int pupils = std::max(test.pupilCount(), 1);
    QString svg = QStringLiteral("<h3>Share right per question</h3>\n<svg "
                                 "xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" "
                                 "height=\"%2\" role=\"img\" aria-label=\"Share right per "
                                 "question\">\n")
                      .arg(kBarLeft + kBarWidth + 150)
                      .arg(test.questions * kBarRow + 8);
    for (int q = 1; q <= test.questions; ++q) {
        const int right = rights[static_cast<std::size_t>(q - 1)];
        const int y = (q - 1) * kBarRow + 4;
        const int width = kBarWidth * right / pupils;
        svg += QStringLiteral("<text x=\"0\" y=\"%1\">Q%2</text>"
                              "<rect x=\"%3\" y=\"%4\" width=\"%5\" height=\"%6\" fill=\"#ddd\"/>"
                              "<rect x=\"%3\" y=\"%4\" width=\"%7\" height=\"%6\" fill=\"#2a6\"/>"
                              "<text x=\"%8\" y=\"%1\">%9</text>\n")
                   .arg(y + 15)
                   .arg(q)
                   .arg(kBarLeft)
                   .arg(y)
                   .arg(kBarWidth)
                   .arg(kBarRow - 6)
                   .arg(width)
                   .arg(kBarLeft + kBarWidth + 8)
                   .arg(shareText(right, test.pupilCount()));
    }
    return svg + QStringLiteral("</svg>\n");
}

} // namespace

QString htmlReport(const std::vector<TestSummary>& tests) {
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n"
                                  "<meta charset=\"utf-8\">\n<title>Class results</title>\n"
                                  "<style>%1</style>\n</head>\n<body>\n<h1>Class results</h1>\n")
                       .arg(QLatin1String(kStyle));
    if (tests.empty()) html += QStringLiteral("<p>No records.</p>\n");
    for (const TestSummary& test : tests)
        html += QStringLiteral("<section>\n<h2>%1</h2>\n<p>%2, %3</p>\n")
                    .arg(test.title().toHtmlEscaped(),
                         counted(test.questions, QStringLiteral("question")),
                         counted(test.pupilCount(), QStringLiteral("pupil"))) +
                pupilTable(test) + shareTable(test) + shareChart(test) +
                QStringLiteral("</section>\n");
    return html + QStringLiteral("</body>\n</html>\n");
}

} // namespace corvane::results
