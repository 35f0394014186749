// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/gift_import.h"

#include "tools/make/answers.h"
#include "tools/make/gift_convert.h"
#include "tools/make/gift_markdown.h"
#include "tools/make/gift_question.h"
#include "tools/make/gift_scan.h"

namespace corvane::make {

namespace {

constexpr int kMaxQuestions = 30;

std::string frontPage(int count) {
    if (count == 1) return "Welcome! There is 1 question.\n";
    return "Welcome! There are " + std::to_string(count) + " questions.\n";
}

} // namespace

GiftImport importGift(std::string_view file, const std::string& testName) {
    GiftImport result;
    std::string questions;
    for (const GiftItem& item : splitGiftItems(giftFileAsUtf8(file))) {
        const GiftQuestion question = parseGiftItem(item);
        if (question.kind == GiftKind::Category) continue;
        ConvertedQuestion converted = convertGiftQuestion(question);
        if (converted.reason.empty() && result.made == kMaxQuestions)
            converted.reason = "the test already has 30 questions, the most a test holds";
        if (!converted.reason.empty()) {
            result.leftOut.push_back({question.line, question.title, converted.reason});
            continue;
        }
        ++result.made;
        questions += "\n" + converted.block;
    }
    const std::string name = testName.empty() ? "GIFT questions" : testName;
    result.source = "# " + escapeMarkdown(name) + "\n" + frontPage(result.made) + questions;
    return result;
}

std::string giftTestName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) path = path.substr(0, dot);
    return std::string(path);
}

std::string describe(const std::string& sourceName, const GiftLeftOut& leftOut) {
    std::string text = sourceName + ":" + std::to_string(leftOut.line) + ": left out";
    if (!leftOut.title.empty()) text += " (" + leftOut.title + ")";
    return text + ": " + leftOut.reason;
}

std::optional<std::string> giftSourceForMake(const std::string& path, std::string_view file,
                                             std::string& report) {
    const std::string name = giftTestName(path);
    if (const QString problem = testNameProblem(QString::fromStdString(name)); !problem.isEmpty()) {
        report += path + ": the test's name is the file's name, and \"" + name + "\" " +
                  problem.toStdString() +
                  ".\n    fix: Rename the file, with letters, digits, blanks and simple signs such "
                  "as - and ( ), e.g. Fractions Year 5.gift.\n";
        return std::nullopt;
    }
    const GiftImport converted = importGift(file, name);
    for (const GiftLeftOut& leftOut : converted.leftOut)
        report += describe(path, leftOut) + "\n";
    if (converted.made > 0) return converted.source;
    report += path + ": no question of this file fits a test question.\n";
    return std::nullopt;
}

} // namespace corvane::make
