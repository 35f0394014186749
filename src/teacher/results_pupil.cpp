// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/results_pupil.h"

#include "core/app_error.h"
#include "core/panel_texts.h"
#include "core/reader.h"
#include "tools/results/reports.h"

#include <QFile>
#include <QMap>

namespace corvane::teacher {

namespace {

QString cell(const QString& text) {
    return QStringLiteral("<td>") + text.toHtmlEscaped() + QStringLiteral("</td>");
}

// Each question's label ("Q3 How much money…") by its number from 1.
QStringList questionLabels(const results::TestSummary& test) {
    QStringList labels;
    for (int q = 1; q <= test.questions; ++q)
        labels << QStringLiteral("Q%1").arg(q);
    for (const results::QuestionShare& share : test.shares)
        if (share.number >= 1 && share.number <= test.questions)
            labels[share.number - 1] = share.label();
    return labels;
}

QString attemptTable(const results::Record& attempt, const QStringList& labels,
                     const QStringList& right) {
    QString html = QStringLiteral("<table border=\"1\" cellpadding=\"4\" cellspacing=\"0\">"
                                  "<tr><th>Question</th><th>Answer</th><th>Verdict</th>"
                                  "<th>Right answer</th></tr>");
    int q = 0;
    for (const results::QuestionResult& result : attempt.questions) {
        html +=
            QStringLiteral("<tr>") + cell(labels.value(q, QStringLiteral("Q%1").arg(q + 1))) +
            cell(result.answer) +
            cell(result.right ? QStringLiteral("\u2713 right") : QStringLiteral("\u2717 wrong")) +
            cell(right.value(q)) + QStringLiteral("</tr>");
        ++q;
    }
    return html + QStringLiteral("</table>");
}

} // namespace

QStringList rightAnswers(const results::LibraryTests& library, const QString& checksum) {
    const QString file = library.testFile(checksum);
    if (file.isEmpty()) return {};
    QuestionStore store;
    QStringList answers;
    try {
        readTestFile(QFile::encodeName(file).toStdString(), store);
        for (int q = 1; q <= store.questionCount; ++q) {
            QString text = toQt(trim(rightAnswerText(store, q)));
            text.remove(QStringLiteral("Right Answer :")); // the review's caption
            answers << text.trimmed();
        }
    } catch (const AppError&) {
        return {}; // the file changed since the library was listed
    }
    return answers;
}

QStringList pupilNames(const std::vector<results::TestSummary>& tests) {
    QMap<QString, QString> names; // by the grouping key; the last spelling read wins
    for (const results::TestSummary& test : tests)
        for (const results::PupilResult& pupil : test.pupils)
            names.insert(results::sameNameKey(pupil.name), pupil.name);
    QStringList sorted = names.values();
    std::sort(sorted.begin(), sorted.end(), results::nameBefore);
    return sorted;
}

QString pupilPageHtml(const QString& name, const std::vector<results::TestSummary>& tests,
                      const results::LibraryTests& library) {
    QString html = QStringLiteral("<h1>%1</h1>").arg(name.toHtmlEscaped());
    int shown = 0;
    for (const results::TestSummary& test : tests) {
        const results::PupilResult* pupil = test.pupil(name);
        if (!pupil) continue;
        const QStringList right = rightAnswers(library, test.checksum);
        const QStringList labels = questionLabels(test);
        html += QStringLiteral("<h2>%1</h2>").arg(test.displayName().toHtmlEscaped());
        if (right.isEmpty())
            html += QStringLiteral("<p>This test is not in the library: no right answers.</p>");
        int n = 0;
        for (const results::Record& attempt : pupil->attempts)
            html += QStringLiteral("<h3>Attempt %1, finished %2: %3/%4</h3>")
                        .arg(++n)
                        .arg(results::finishedText(attempt))
                        .arg(attempt.score)
                        .arg(test.questions) +
                    attemptTable(attempt, labels, right);
        ++shown;
    }
    if (shown == 0) html += QStringLiteral("<p>No records.</p>");
    return html;
}

} // namespace corvane::teacher
