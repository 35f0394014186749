// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/content_checks.h"

#include "core/app_error.h"
#include "tools/check/line_cursor.h"
#include "tools/check/question_checks.h"
#include "tools/check/scanner.h"

#include <algorithm>

namespace corvane::check {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

Finding fileError(FindingKind kind, int line, int question, const QString& explanation,
                  const QString& fix = {}) {
    return {kind, Severity::Error, line, question, explanation, fix};
}

std::optional<Finding> checkLineEnds(std::string_view readable) {
    const std::vector<LineEnd> ends = lineEnds(readable);
    const auto isOdd = [](LineEnd end) { return end == LineEnd::Cr || end == LineEnd::Lf; };
    const auto first = std::find_if(ends.begin(), ends.end(), isOdd);
    if (first == ends.end()) return std::nullopt;
    const auto count = std::count_if(ends.begin(), ends.end(), isOdd);
    return Finding{FindingKind::LineEnds,
                   Severity::Warning,
                   static_cast<int>(first - ends.begin()) + 1,
                   0,
                   QStringLiteral("This line ends with a bare %1 (%2 line(s) in all end without "
                                  "CR LF). The program reads it, but test files are saved with "
                                  "Windows line ends.")
                       .arg(*first == LineEnd::Lf ? QStringLiteral("line feed (LF)")
                                                  : QStringLiteral("carriage return (CR)"))
                       .arg(count),
                   QStringLiteral("Save the file with CR LF line ends.")};
}

// The finding for a failed load; the count and alternative limits get their own wording.
Finding loadFailure(const ScannedTest& scan, const LoadFailure& failure, int outOfStepLine) {
    if (failure.question > kMaxQuestions)
        return fileError(FindingKind::CountAbove30, scan.count.line, 0,
                         QStringLiteral("The count line says %1 questions; a test holds at most "
                                        "30, and loading stops with \"Range check error\" when "
                                        "question 31 is reached (line %2).")
                             .arg(scan.count.value)
                             .arg(failure.line),
                         QStringLiteral("Write 30 or fewer, and split the test in two."));
    if (failure.message == kRangeCheckError) {
        const ScannedQuestion& q = scan.questions.back();
        return fileError(FindingKind::AltCountAbove10, q.altCount.line, q.number,
                         QStringLiteral("The count of accepted answers is %1; at most 10 are "
                                        "kept, and loading stops with \"Range check error\" at "
                                        "the eleventh (line %2).")
                             .arg(q.altCount.value)
                             .arg(failure.line),
                         QStringLiteral("Keep 10 accepted answers or fewer."));
    }
    QString explanation = QStringLiteral("Loading fails here with \"%1\": a whole number is "
                                         "expected on this line.")
                              .arg(QString::fromStdString(failure.message));
    if (outOfStepLine > 0)
        explanation +=
            QStringLiteral(" The lines are out of step from line %1.").arg(outOfStepLine);
    return fileError(FindingKind::LoadFailure, failure.line, failure.question, explanation,
                     QStringLiteral("Write a number such as 0, 1 or 4 alone on the line."));
}

Finding earlyEndFinding(const ScannedTest& scan, const EarlyEnd& end, bool atCtrlZ) {
    return fileError(FindingKind::EndsEarly, end.line, end.question,
                     QStringLiteral("The file ends%3 in question %1 of %2: the rest of the test "
                                    "reads as empty lines and zeros, and those questions can "
                                    "never be right.")
                         .arg(end.question)
                         .arg(scan.count.value)
                         .arg(atCtrlZ ? QStringLiteral(" at a byte 26 (Ctrl-Z)") : QString()),
                     QStringLiteral("Add the missing lines, or write %1 on the count line.")
                         .arg(end.question - 1));
}

// Lines after the last block are never read: often a question the count forgot.
std::optional<Finding> checkTrailingLines(std::string_view readable, const ScannedTest& scan) {
    LineCursor rest(readable);
    while (!rest.atEnd() && rest.line() < scan.nextLine)
        rest.readText();
    while (!rest.atEnd()) {
        const Text line = rest.readText();
        if (trim(line).empty()) continue;
        return Finding{FindingKind::TrailingLines,
                       Severity::Warning,
                       rest.lastLine(),
                       0,
                       QStringLiteral("The lines from here on come after the last of the %1 "
                                      "questions and are never read.")
                           .arg(scan.count.value),
                       QStringLiteral("If they are further questions, raise the count on line "
                                      "%1; otherwise delete them.")
                           .arg(scan.count.line)};
    }
    return std::nullopt;
}

struct QuestionWalk {
    Findings findings;
    int outOfStepLine = 0; // where the lines went out of step, 0 if they never did
};

// Checks the questions in order, stopping where the file ended, the load failed or the lines
// went out of step: after that every finding would be a consequence of the first.
QuestionWalk checkQuestions(const ScannedTest& scan) {
    QuestionWalk walk;
    for (const ScannedQuestion& q : scan.questions) {
        if (scan.earlyEnd && scan.earlyEnd->question == q.number) break;
        const auto typeFinding = checkTypeLine(q);
        if (typeFinding) walk.findings.push_back(*typeFinding);
        if (typeFinding && typeFinding->kind == FindingKind::OutOfStep) {
            walk.outOfStepLine = typeFinding->line;
            break;
        }
        if (scan.failure && scan.failure->question == q.number) break;
        const auto closing = checkClosingLine(q);
        if (closing) {
            // A wrong type line already explains why its block reads out of step.
            if (!typeFinding) walk.findings.push_back(*closing);
            walk.outOfStepLine = closing->line;
            break;
        }
        if (!typeFinding)
            for (const Finding& field : checkQuestionFields(q))
                walk.findings.push_back(field);
    }
    return walk;
}

} // namespace

Findings checkContent(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark))
        return {fileError(FindingKind::ByteOrderMark, 1, 0,
                          QStringLiteral("The file starts with a UTF-8 byte-order mark, so the "
                                         "count line is not a number and loading fails with "
                                         "\"Invalid numeric input\"."),
                          QStringLiteral("Save the file as plain text (ANSI / Windows-1252), "
                                         "without a byte-order mark."))};
    const std::string_view readable = readablePart(bytes);
    const ScannedTest scan = scanTestFile(readable);

    Findings findings;
    if (auto ends = checkLineEnds(readable)) findings.push_back(*ends);
    QuestionWalk walk = checkQuestions(scan);
    findings.insert(findings.end(), walk.findings.begin(), walk.findings.end());

    if (scan.failure) {
        findings.push_back(loadFailure(scan, *scan.failure, walk.outOfStepLine));
    } else if (scan.count.value <= 0) {
        findings.push_back(fileError(FindingKind::NoQuestions, scan.count.line, 0,
                                     QStringLiteral("The count line says %1: the test has no "
                                                    "questions.")
                                         .arg(scan.count.value),
                                     QStringLiteral("Write the number of questions, 1 to 30, "
                                                    "on the first line.")));
    } else if (scan.earlyEnd) {
        findings.push_back(earlyEndFinding(scan, *scan.earlyEnd, readable.size() < bytes.size()));
    } else if (walk.outOfStepLine == 0) {
        if (auto trailing = checkTrailingLines(readable, scan)) findings.push_back(*trailing);
    }
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return findings;
}

} // namespace corvane::check
