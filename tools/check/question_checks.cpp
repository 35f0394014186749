// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/question_checks.h"

#include "core/marking_rules.h"
#include "core/numbers.h"
#include "tools/check/keywords.h"
#include "tools/check/reachable.h"
#include "tools/check/wording.h"

#include <QStringList>

#include <algorithm>
#include <set>

namespace corvane::check {

namespace {

constexpr const char* kBlockLayout =
    "A question is: type, comment, option count, five key lines, answer, then (KORDERUSER) "
    "five labels, fixed position and fixed text or (KMULTIENTRYMULTI) a count and that many "
    "answers, then the closing line.";

Finding error(FindingKind kind, int line, const ScannedQuestion& q, const QString& explanation,
              const QString& fix = {}) {
    return {kind, Severity::Error, line, q.number, explanation, fix};
}

Finding warning(FindingKind kind, int line, const ScannedQuestion& q, const QString& explanation,
                const QString& fix = {}) {
    return {kind, Severity::Warning, line, q.number, explanation, fix};
}

QString keyword(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

bool isNumberLine(const Text& line) {
    return parseInteger(trim(line)).has_value();
}

// A row of dashes, stars or the like: something else than a keyword in a type line's place.
bool isSeparatorLine(const Text& line) {
    const Text text = trim(line);
    return !text.empty() && std::none_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
    });
}

QString letter(int option) {
    return QString(QChar('A' + option - 1));
}

bool isChoice(std::int32_t type) {
    return type == KSINGLECHOICE || type == KMULTICHOICE || type == KYESNO;
}
bool isOrder(std::int32_t type) {
    return type == KORDER || type == KORDERUSER;
}

std::optional<Finding> checkOptionCount(const ScannedQuestion& q) {
    const std::int32_t n = q.optionCount.value;
    if (q.type == KYESNO && n != 2)
        return error(FindingKind::OptionCount, q.optionCount.line, q,
                     QStringLiteral("A KYESNO question has an option count of %1; it must be 2 "
                                    "(entry 1 is Yes, entry 2 is No).")
                         .arg(n),
                     QStringLiteral("Write 2 on the option count line."));
    if ((isChoice(q.type) || isOrder(q.type)) && q.type != KYESNO && (n < 1 || n > kMaxOptions))
        return error(FindingKind::OptionCount, q.optionCount.line, q,
                     QStringLiteral("The option count is %1; a %2 question shows 1 to 5 options "
                                    "(A to E)%3.")
                         .arg(n)
                         .arg(keyword(keywordName(q.type)),
                              n > kMaxOptions ? QStringLiteral(", and more stops the program "
                                                               "with \"Range check error\"")
                                              : QString()),
                     QStringLiteral("Write the number of options, 1 to 5."));
    return std::nullopt;
}

Findings checkChoiceKey(const ScannedQuestion& q) {
    const int n = q.optionCount.value;
    Findings found;
    QStringList right;
    for (int j = 1; j <= n; ++j) {
        const auto& entry = q.key[static_cast<std::size_t>(j - 1)];
        if (entry.value == 1) right << (q.type == KYESNO ? (j == 1 ? "Yes" : "No") : letter(j));
        if (entry.value != 0 && entry.value != 1)
            found.push_back(error(FindingKind::KeyNotZeroOrOne, entry.line, q,
                                  QStringLiteral("Key entry %1 is %2; it must be 1 (option %3 is "
                                                 "right) or 0 (it is not), anything else "
                                                 "counts as not right.")
                                      .arg(j)
                                      .arg(entry.value)
                                      .arg(q.type == KYESNO ? (j == 1 ? "Yes" : "No") : letter(j)),
                                  QStringLiteral("Write 1 or 0.")));
    }
    if (!found.empty()) return found;
    if (right.isEmpty())
        found.push_back(error(FindingKind::NoRightOption, q.key[0].line, q,
                              QStringLiteral("No key entry among the %1 options is 1, so no "
                                             "answer can ever be right.")
                                  .arg(n),
                              QStringLiteral("Write 1 on the key line of the right option.")));
    else if (q.type != KMULTICHOICE && right.size() > 1)
        found.push_back(warning(
            FindingKind::SeveralRightOptions, q.key[0].line, q,
            QStringLiteral("Options %1 are all marked right; the pupil picks one, and any of them "
                           "counts.")
                .arg(right.join(QStringLiteral(" and "))),
            QStringLiteral("If only one is right, write 0 for the others.")));
    return found;
}

std::optional<Finding> checkOrderKey(const ScannedQuestion& q) {
    const int n = q.optionCount.value;
    std::set<std::int32_t> seen;
    for (int j = 1; j <= n; ++j) {
        const auto& entry = q.key[static_cast<std::size_t>(j - 1)];
        if (entry.value >= 1 && entry.value <= n && seen.insert(entry.value).second) continue;
        const QString why =
            entry.value >= 1 && entry.value <= n
                ? QStringLiteral("item %1 is already in an earlier place").arg(entry.value)
                : QStringLiteral("there is no item %1 among the %2 items").arg(entry.value).arg(n);
        return error(FindingKind::OrderKey, entry.line, q,
                     QStringLiteral("Key entry %1 says place %1 holds item %2, but %3: the key "
                                    "must put each item 1 to %4 in exactly one place, so no "
                                    "order can be right.")
                         .arg(j)
                         .arg(entry.value)
                         .arg(why)
                         .arg(n),
                     QStringLiteral("Write the numbers 1 to %1 in the right order, one per key "
                                    "line.")
                         .arg(n));
    }
    return std::nullopt;
}

Findings checkOrderUserExtras(const ScannedQuestion& q) {
    Findings found;
    const int n = q.optionCount.value;
    for (int j = 1; j <= n; ++j) {
        const auto& label = q.labels[static_cast<std::size_t>(j - 1)];
        if (trim(label.value).empty())
            found.push_back(warning(FindingKind::EmptyLabel, label.line, q,
                                    QStringLiteral("Item %1 has an empty label, so the pupil "
                                                   "sees a blank item.")
                                        .arg(letter(j)),
                                    QStringLiteral("Write the item's text on this line.")));
    }
    // 0 means no fixed item; any other place outside 1..n is never drawn.
    const std::int32_t pos = q.fixedItemPos.value;
    const bool hasText = !trim(q.fixedItemText.value).empty();
    if (pos == 0 && hasText)
        found.push_back(warning(FindingKind::FixedItemPos, q.fixedItemPos.line, q,
                                QStringLiteral("The fixed position is 0 (no fixed item), so the "
                                               "fixed text %1 is never shown.")
                                    .arg(quoted(q.fixedItemText.value)),
                                QStringLiteral("Write the place (1 to %1) that the text stands "
                                               "in front of, or leave the text empty.")
                                    .arg(n)));
    else if (pos != 0 && (pos < 1 || pos > n))
        found.push_back(warning(FindingKind::FixedItemPos, q.fixedItemPos.line, q,
                                QStringLiteral("The fixed position is %1, outside the places 1 "
                                               "to %2, so the fixed text is never shown.")
                                    .arg(pos)
                                    .arg(n),
                                QStringLiteral("Write a place from 1 to %1, or 0 for no fixed "
                                               "item.")
                                    .arg(n)));
    return found;
}

std::optional<Finding> checkPairAnswer(const ScannedQuestion& q, const Located<Text>& answer) {
    if (pairReachable(answer.value)) return std::nullopt;
    return error(FindingKind::AnswerUnreachable, answer.line, q,
                 QStringLiteral("The answer %1 can never be matched: a typed pair is compared "
                                "as first number, comma, second number, with no blanks or "
                                "letters, and this line is not written that way.")
                     .arg(quoted(answer.value)),
                 QStringLiteral("Write %1.").arg(quoted(pairForm(answer.value))));
}

std::optional<Finding> checkCurrencyAnswer(const ScannedQuestion& q) {
    const Text& stored = q.answer.value;
    if (!currencyInput(stored))
        return error(FindingKind::AnswerUnreachable, q.answer.line, q,
                     QStringLiteral("The answer %1 can never be matched: a typed amount loses "
                                    "its blanks, \"£\" and \"p\" and is upper-cased before it is "
                                    "compared with this line as it stands.")
                         .arg(quoted(stored)),
                     QStringLiteral("Write %1.").arg(quoted(currencyForm(stored))));
    if (stored.empty())
        return warning(FindingKind::EmptyAnswer, q.answer.line, q,
                       QStringLiteral("The answer line is empty: only an empty answer is right."),
                       QStringLiteral("Write the amount, e.g. 1.50."));
    return std::nullopt;
}

Findings checkTypedAnswer(const ScannedQuestion& q) {
    Findings found;
    auto add = [&found](std::optional<Finding> finding) {
        if (finding) found.push_back(std::move(*finding));
    };
    switch (q.type) {
    case KCURRENCY:
        add(checkCurrencyAnswer(q));
        break;
    case KMULTIENTRY:
        add(checkPairAnswer(q, q.answer));
        break;
    case KMULTIENTRYMULTI:
        if (q.altCount.value <= 0)
            add(error(FindingKind::NoAlternatives, q.altCount.line, q,
                      QStringLiteral("The count of accepted answers is %1, so no answer can ever "
                                     "be right.")
                          .arg(q.altCount.value),
                      QStringLiteral("Write how many accepted answers follow (1 to 10), then "
                                     "the answers.")));
        for (const auto& alternative : q.alternatives)
            add(checkPairAnswer(q, alternative));
        break;
    case KCOMMA:
        if (commaForm(q.answer.value).empty())
            add(error(FindingKind::CommaMatchesAnything, q.answer.line, q,
                      QStringLiteral("The answer %1 holds no number once compared (a one-"
                                     "character answer always gives nothing), so every answer "
                                     "of at most one character, and every answer without a "
                                     "digit, is right.")
                          .arg(quoted(q.answer.value)),
                      q.answer.value.size() == 1
                          ? QStringLiteral("Use KWORD for a one-character answer.")
                          : QStringLiteral("Write the number.")));
        break;
    case KWORD:
    case KTIME:
        if (trim(q.answer.value).empty())
            add(warning(FindingKind::EmptyAnswer, q.answer.line, q,
                        QStringLiteral("The answer line is empty: only an empty answer is "
                                       "right."),
                        QStringLiteral("Write the expected answer on this line.")));
        break;
    default:
        break;
    }
    return found;
}

} // namespace

std::optional<Finding> checkTypeLine(const ScannedQuestion& q) {
    if (q.type != KNOTYPE) return std::nullopt;
    const Text& line = q.typeLine.value;
    const int at = q.typeLine.line;
    const NearKeyword near = nearestKeyword(line);
    const QString fix =
        QStringLiteral("Write \"%1\" alone on the line.").arg(keyword(near.keyword));
    if (near.distance == 0)
        return error(FindingKind::TypeBlanks, at, q,
                     QStringLiteral("The type line %1 has blanks around the keyword, so it "
                                    "matches no type: the question has no type and can never "
                                    "be right.")
                         .arg(quoted(line)),
                     fix);
    if (near.distance <= 2)
        return error(FindingKind::TypeTypo, at, q,
                     QStringLiteral("The type line %1 is not a type keyword (%2 is close), so "
                                    "the question has no type and can never be right.")
                         .arg(quoted(line), keyword(near.keyword)),
                     fix);
    if (isSeparatorLine(line) || isNumberLine(line))
        return error(FindingKind::OutOfStep, at, q,
                     QStringLiteral("The type line %1 looks like a %2: the lines above have one "
                                    "too many or too few, so this question and every later one "
                                    "are read out of step.")
                         .arg(quoted(line), isNumberLine(line) ? QStringLiteral("number")
                                                               : QStringLiteral("closing line")),
                     QString::fromLatin1(kBlockLayout));
    return error(FindingKind::TypeUnknown, at, q,
                 QStringLiteral("The type line %1 matches no type keyword, so the question has "
                                "no type and can never be right.")
                     .arg(quoted(line)),
                 QStringLiteral("Write one of KSINGLECHOICE, KMULTICHOICE, KWORD, KORDER, "
                                "KCURRENCY, KCOMMA, KTIME, KYESNO, KORDERUSER, KMULTIENTRY, "
                                "KMULTIENTRYMULTI."));
}

std::optional<Finding> checkClosingLine(const ScannedQuestion& q) {
    const Text& line = q.closing.value;
    const bool keywordLike = nearestKeyword(line).distance == 0;
    if (!keywordLike && !isNumberLine(line)) return std::nullopt;
    return error(FindingKind::OutOfStep, q.closing.line, q,
                 QStringLiteral("The closing line of question %1 reads %2, which looks like %3: "
                                "%4, so every later question is read out of step.")
                     .arg(q.number)
                     .arg(quoted(line),
                          keywordLike ? QStringLiteral("a type line") : QStringLiteral("a number"),
                          keywordLike ? QStringLiteral("a line is missing in this question")
                                      : QStringLiteral("this question has a line too many or "
                                                       "too few")),
                 QString::fromLatin1(kBlockLayout));
}

Findings checkQuestionFields(const ScannedQuestion& q) {
    if (auto count = checkOptionCount(q)) return {*count};
    Findings found;
    if (isChoice(q.type)) found = checkChoiceKey(q);
    if (isOrder(q.type))
        if (auto key = checkOrderKey(q)) found.push_back(*key);
    if (q.type == KORDERUSER)
        for (Finding& extra : checkOrderUserExtras(q))
            found.push_back(std::move(extra));
    for (Finding& typed : checkTypedAnswer(q))
        found.push_back(std::move(typed));
    return found;
}

} // namespace corvane::check
