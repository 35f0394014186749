// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/answers.h"

#include "core/marking_rules.h"
#include "tools/make/markdown.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace corvane::make {

namespace {

struct Keyword {
    const char* text;
    AnswerKind kind;
};

constexpr std::array<Keyword, 9> kKeywords{{
    {"answer", AnswerKind::YesNo},
    {"word", AnswerKind::Word},
    {"number", AnswerKind::Number},
    {"money", AnswerKind::Money},
    {"time", AnswerKind::Time},
    {"pair", AnswerKind::Pair},
    {"pairs", AnswerKind::Pairs},
    {"order", AnswerKind::Order},
    {"labelled order", AnswerKind::LabelledOrder},
}};

// The order buttons of a labelled order are 25 pixels wide: two digits fill one.
constexpr std::size_t kLabelLength = 2;

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

SourceError at(int line, const QString& message, const QString& fix) {
    return {line, message, fix};
}

QString letter(int j) {
    return QString(QChar('A' + j - 1));
}

// The answer as a text of the test file, or an error that says why it cannot be one.
std::optional<Text> answerText(const SourceLine& answer, SourceErrors& errors) {
    std::optional<Text> text = storeText(unescaped(answer.text).trimmed());
    if (!text)
        errors.push_back(at(answer.line,
                            QStringLiteral("The answer %1 holds a character the test file cannot "
                                           "hold.")
                                .arg(quoted(answer.text.trimmed())),
                            QStringLiteral("Write it with plain letters, digits and signs (the "
                                           "pound sign is fine).")));
    return text;
}

bool hasDigit(const Text& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Two numbers and nothing else: "4 r 3", "3/4", "-1.5 and 2"; the marking keeps the first two
// runs of digits, points and minus signs, so a third number or a stray sign would be lost.
bool isTwoNumbers(const QString& text) {
    static const QRegularExpression pair(
        QStringLiteral("^-?\\d+(\\.\\d+)?(\\s*(,|/|:|r|remainder|and)\\s*|\\s+)-?\\d+(\\.\\d+)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return pair.match(text.trimmed()).hasMatch();
}

// "35p" as pounds ("0.35"), whole pounds with their pence ("£2" as "2.00"): the page asks for
// pounds and pence, and the marking compares the typed amount with the stored one as it stands.
Text moneyForm(const Text& written) {
    static const QRegularExpression pence(QStringLiteral("^\\s*(\\d+)\\s*[pP]\\s*$"));
    static const QRegularExpression pounds(QStringLiteral("^\\d+$"));
    const QRegularExpressionMatch match = pence.match(toQt(written));
    if (!match.hasMatch()) {
        const Text form = currencyForm(trim(written));
        return pounds.match(toQt(form)).hasMatch() ? form + ".00" : form;
    }
    const qlonglong amount = match.captured(1).toLongLong();
    return fromQt(QStringLiteral("%1.%2").arg(amount / 100).arg(amount % 100, 2, 10, QChar('0')));
}

SourceErrors fillMoney(const SourceLine& answer, QuestionStore& store, int q) {
    SourceErrors errors;
    const std::optional<Text> written = answerText(answer, errors);
    if (!written) return errors;
    const Text form = moneyForm(*written);
    static const QRegularExpression amount(QStringLiteral("^\\d+(\\.\\d\\d)?$"));
    if (!amount.match(toQt(form)).hasMatch())
        return {at(answer.line,
                   QStringLiteral("The amount %1 is not one the pupil can type after the pound "
                                  "sign.")
                       .arg(quoted(answer.text.trimmed())),
                   QStringLiteral("Write pounds and two-digit pence, e.g. Money: £1.50, or "
                                  "pence alone, e.g. Money: 35p."))};
    store.answerText[q] = form;
    return {};
}

// The accepted answers of a Pairs: line: parted by "or" or ";", or by commas where each part
// is then a whole answer of two numbers ("1/2, 2/4"); none when a comma may part two answers
// or the two numbers of one ("1,2, 2,4").
std::optional<QStringList> pairAlternatives(const QString& text) {
    static const QRegularExpression separator(QStringLiteral("\\s*;\\s*|\\s+or\\s+"),
                                              QRegularExpression::CaseInsensitiveOption);
    QStringList alternatives;
    for (const QString& part : text.trimmed().split(separator, Qt::SkipEmptyParts)) {
        const QStringList byComma = part.split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (isTwoNumbers(part) || byComma.size() < 2)
            alternatives << part;
        else if (std::all_of(byComma.begin(), byComma.end(), isTwoNumbers))
            alternatives << byComma;
        else
            return std::nullopt;
    }
    return alternatives;
}

SourceErrors fillPairs(AnswerKind kind, const SourceLine& answer, QuestionStore& store, int q) {
    SourceErrors errors;
    const std::optional<QStringList> alternatives =
        kind == AnswerKind::Pairs ? pairAlternatives(answer.text)
                                  : std::optional<QStringList>(QStringList{answer.text});
    if (!alternatives)
        return {at(answer.line,
                   QStringLiteral("The answers %1 cannot be told apart: a comma may part two "
                                  "answers or the two numbers of one.")
                       .arg(quoted(answer.text.trimmed())),
                   QStringLiteral("Write \"or\" between the answers, e.g. Pairs: 1/2 or 2/4 or "
                                  "3/6."))};
    const QStringList& written = *alternatives;
    if (written.size() > kMaxAlternatives)
        return {at(answer.line,
                   QStringLiteral("There are %1 accepted answers; a question takes at most %2.")
                       .arg(written.size())
                       .arg(kMaxAlternatives),
                   QStringLiteral("Keep the ten most likely answers."))};
    int count = 0;
    for (const QString& one : written) {
        const std::optional<Text> text = answerText({answer.line, one}, errors);
        if (!text) continue;
        if (!isTwoNumbers(one)) {
            errors.push_back(at(
                answer.line,
                QStringLiteral("%1 is not two numbers: the pupil types two numbers, such as 4 r 3 "
                               "or 3/4, and the marking reads no more than two.")
                    .arg(quoted(one.trimmed())),
                kind == AnswerKind::Pairs ? QStringLiteral("Write each answer as two numbers, e.g. "
                                                           "Pairs: 1/2 or 2/4 or 3/6.")
                                          : QStringLiteral("Write two numbers, e.g. Pair: 4 r 3 or "
                                                           "Pair: 3/4.")));
            continue;
        }
        const Text form = pairForm(*text);
        ++count;
        if (kind == AnswerKind::Pair)
            store.answerText[q] = form;
        else
            store.altText[q][count] = form;
    }
    if (kind == AnswerKind::Pairs) {
        store.altCount[q] = count;
        if (count > 0) store.answerText[q] = store.altText[q][1];
        if (written.isEmpty())
            errors.push_back(at(answer.line, QStringLiteral("No accepted answer is given."),
                                QStringLiteral("Write the answers, e.g. Pairs: 1/2 or 2/4.")));
    }
    return errors;
}

// What keeps `time` from being hours and minutes a pupil types ("7:15", "19.05", "9:05 pm"),
// or empty.
QString timeProblem(const QString& time) {
    static const QRegularExpression form(
        QStringLiteral("^(\\d{1,2})\\s*[:.]\\s*(\\d\\d)\\s*([ap]\\.?\\s*m\\.?)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(time.trimmed());
    if (!match.hasMatch())
        return QStringLiteral("is not hours and minutes in digits with : or . between them");
    const int hours = match.captured(1).toInt();
    const bool halfDay = match.hasCaptured(3);
    if (halfDay ? hours < 1 || hours > 12 : hours > 23)
        return halfDay
                   ? QStringLiteral("has no hour %1: with am or pm hours go from 1 to 12")
                         .arg(match.captured(1))
                   : QStringLiteral("has no hour %1: hours go from 0 to 23").arg(match.captured(1));
    if (match.captured(2).toInt() > 59)
        return QStringLiteral("has no minute %1: minutes go from 00 to 59").arg(match.captured(2));
    return {};
}

// A typed word, number or time, stored as written: the marking brings both sides to one form.
SourceErrors fillTyped(AnswerKind kind, const SourceLine& answer, QuestionStore& store, int q) {
    SourceErrors errors;
    const std::optional<Text> written = answerText(answer, errors);
    if (!written) return errors;
    if (kind == AnswerKind::Word) {
        if (wordForm(*written).empty())
            errors.push_back(at(answer.line, QStringLiteral("The word answer is empty."),
                                QStringLiteral("Write the word after the colon, e.g. Word: "
                                               "forty.")));
        else if (const QString problem = typedWordProblem(toQt(*written)); !problem.isEmpty())
            errors.push_back(at(
                answer.line, QStringLiteral("The word %1 %2.").arg(quoted(toQt(*written)), problem),
                QStringLiteral("Ask for a word in plain letters a to z, or make the question "
                               "a choice.")));
        store.answerText[q] = wordForm(*written);
    } else if (kind == AnswerKind::Number) {
        // A compared number of fewer than two characters is empty and matches anything short.
        if (written->size() < 2 || !hasDigit(commaForm(*written)))
            errors.push_back(at(answer.line,
                                QStringLiteral("The number %1 cannot be checked as a number: a "
                                               "number answer needs two characters or more.")
                                    .arg(quoted(answer.text.trimmed())),
                                written->size() == 1
                                    ? QStringLiteral("Write Word: %1 for a one-digit answer.")
                                          .arg(answer.text.trimmed())
                                    : QStringLiteral("Write the number, e.g. Number: 1,245.")));
        store.answerText[q] = commaForm(*written);
    } else {
        if (const QString problem = timeProblem(toQt(*written)); !problem.isEmpty())
            errors.push_back(
                at(answer.line,
                   QStringLiteral("The time %1 %2.").arg(quoted(answer.text.trimmed()), problem),
                   QStringLiteral("Write hours and minutes with a colon or a point, e.g. Time: "
                                  "7:15 or Time: 19.05.")));
        store.answerText[q] = trim(*written);
    }
    return errors;
}

SourceErrors fillYesNo(const SourceLine& answer, QuestionStore& store, int q) {
    const QString value = answer.text.trimmed().toLower();
    if (value != QLatin1String("yes") && value != QLatin1String("no"))
        return {at(
            answer.line,
            QStringLiteral("Answer: takes yes or no, not %1.").arg(quoted(answer.text.trimmed())),
            QStringLiteral("Write Answer: yes or Answer: no; for a typed answer use Word:, "
                           "Number:, Money:, Time: or Pair:."))};
    store.questionType[q] = KYESNO;
    store.optionCount[q] = 2;
    store.answerKey[q][1] = value == QLatin1String("yes") ? 1 : 0;
    store.answerKey[q][2] = value == QLatin1String("no") ? 1 : 0;
    return {};
}

// The item numbers (1-based) that the order's words name, by the items' texts or by letters.
// The item (1 the first) whose text is `word`, or 0.
int itemByText(const QString& word, const std::vector<SourceLine>& items) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (unescaped(items[i].text).trimmed().compare(word, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i) + 1;
    return 0;
}

// The item (1 the first) whose letter is `word`, or 0.
int itemByLetter(const QString& word, const std::vector<SourceLine>& items) {
    const int j = word.size() == 1 ? word.at(0).toUpper().unicode() - 'A' + 1 : 0;
    return j >= 1 && j <= static_cast<int>(items.size()) ? j : 0;
}

// The first of `words` that names no item, by its text or, when every word is one letter, by
// its letter.
QString unknownItem(const QStringList& words, const std::vector<SourceLine>& items) {
    const bool letters = std::all_of(words.begin(), words.end(),
                                     [](const QString& word) { return word.size() == 1; });
    for (const QString& word : words)
        if (!itemByText(word, items) && !(letters && itemByLetter(word, items))) return word;
    return words.join(QStringLiteral(", ")); // texts and letters mixed
}

std::optional<std::vector<int>> itemsNamed(const QStringList& words,
                                           const std::vector<SourceLine>& items) {
    auto byText = [&items](const QString& word) { return itemByText(word, items); };
    auto byLetter = [&items](const QString& word) { return itemByLetter(word, items); };
    for (const bool letters : {false, true}) {
        std::vector<int> named;
        for (const QString& word : words)
            if (const int item = letters ? byLetter(word) : byText(word)) named.push_back(item);
        if (named.size() == static_cast<std::size_t>(words.size())) return named;
    }
    return std::nullopt;
}

// An order line: the items it names in order, and a fixed text in [brackets] with the place it
// stands in front of (0 when there is none).
struct OrderLine {
    QStringList words;
    std::optional<QString> fixedText;
    int fixedPos = 0;
};

OrderLine readOrderLine(QString value) {
    // Items are parted by commas, or by blanks when there is no comma (Order: D B A C).
    static const QRegularExpression commas(QStringLiteral("\\s*,\\s*"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    static const QRegularExpression bracket(QStringLiteral("\\[([^\\]]*)\\]"));
    const QRegularExpression& parting = value.contains(QLatin1Char(',')) ? commas : blanks;
    OrderLine line;
    const QRegularExpressionMatch fixed = bracket.match(value);
    if (fixed.hasMatch()) {
        line.fixedText = fixed.captured(1);
        line.fixedPos =
            static_cast<int>(
                value.left(fixed.capturedStart()).split(parting, Qt::SkipEmptyParts).size()) +
            1;
        value.remove(fixed.capturedStart(), fixed.capturedLength());
    }
    for (const QString& word : value.split(parting, Qt::SkipEmptyParts))
        line.words << unescaped(word).trimmed();
    return line;
}

// What keeps the named items from being an order of all n items, or empty. `words` are the
// items as the order line names them.
QString orderProblem(const std::vector<int>& order, const QStringList& words, int n) {
    std::vector<bool> seen(static_cast<std::size_t>(n) + 1, false);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int item = order[i];
        if (seen[static_cast<std::size_t>(item)])
            return QStringLiteral("The order names %1 (item %2) twice.")
                .arg(quoted(words.at(static_cast<qsizetype>(i))))
                .arg(letter(item));
        seen[static_cast<std::size_t>(item)] = true;
    }
    if (static_cast<int>(order.size()) != n)
        return QStringLiteral("The order names %1 of the %2 items; it must name all of them.")
            .arg(order.size())
            .arg(n);
    return {};
}

// The items of a labelled order are the labels of the buttons under the page, plain text:
// maths shows in its plain form ($5^2$ as 5²).
void fillLabels(const std::vector<SourceLine>& items, QuestionStore& store, int q,
                SourceErrors& errors) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::optional<Text> label =
            answerText({items[i].line, withMathsAsPlain(items[i].text)}, errors);
        if (label && label->size() > kLabelLength)
            errors.push_back(at(items[i].line,
                                QStringLiteral("The item %1 is too long for the buttons under "
                                               "the page, which show %2 characters.")
                                    .arg(quoted(items[i].text.trimmed()))
                                    .arg(kLabelLength),
                                QStringLiteral("Use Order: instead (the pupil clicks the letters "
                                               "A to E), or shorten the item.")));
        else if (label)
            store.optionLabel[q][static_cast<int>(i) + 1] = *label;
    }
}

SourceErrors fillOrder(AnswerKind kind, const SourceLine& answer,
                       const std::vector<SourceLine>& items, QuestionStore& store, int q) {
    const int n = static_cast<int>(items.size());
    if (n < 2 || n > kMaxOptions)
        return {at(answer.line,
                   QStringLiteral("An order needs 2 to 5 items listed above its answer line; "
                                  "this one has %1.")
                       .arg(n),
                   n < 2 ? QStringLiteral("List the items above the line, one per line: - 35")
                         : QStringLiteral("Remove items until five are left."))};
    const bool labelled = kind == AnswerKind::LabelledOrder;
    const OrderLine line = readOrderLine(answer.text.trimmed());
    const std::optional<std::vector<int>> order = itemsNamed(line.words, items);
    const QString problem =
        order ? orderProblem(*order, line.words, n)
              : QStringLiteral("The order names %1, which is not one of the items listed above "
                               "it.")
                    .arg(quoted(unknownItem(line.words, items)));
    if (!problem.isEmpty())
        return {at(answer.line, problem,
                   QStringLiteral("Name each of the %1 items once, in the right order, by its "
                                  "text or its letter, e.g. %2: %3.")
                       .arg(n)
                       .arg(labelled ? "Labelled order" : "Order", n == 2 ? "B, A" : "C, A, B"))};
    SourceErrors errors;
    if (line.fixedText && (!labelled || line.fixedPos > n))
        errors.push_back(at(answer.line,
                            labelled ? QStringLiteral("The fixed text in [brackets] stands after "
                                                      "the last item, where it is never shown.")
                                     : QStringLiteral("A fixed text in [brackets] is shown only "
                                                      "in a labelled order."),
                            labelled ? QStringLiteral("Put the [text] in front of an item, e.g. "
                                                      "Labelled order: [Smallest:] 5, 12, 30.")
                                     : QStringLiteral("Write Labelled order: instead of Order:, "
                                                      "or take the [text] out.")));
    store.questionType[q] = labelled ? KORDERUSER : KORDER;
    store.optionCount[q] = n;
    for (int j = 1; j <= n; ++j)
        store.answerKey[q][j] = (*order)[static_cast<std::size_t>(j - 1)];
    if (labelled) {
        fillLabels(items, store, q, errors);
        store.fixedItemPos[q] = line.fixedPos;
        if (line.fixedText)
            if (const std::optional<Text> text = answerText({answer.line, *line.fixedText}, errors))
                store.fixedItemText[q] = *text;
    }
    return errors;
}

} // namespace

QString typedWordProblem(const QString& word) {
    for (const QChar c : word) {
        if (c.unicode() < 128 || c.unicode() == 0xA3) continue;
        if (c.isLetter())
            return QStringLiteral("holds \"%1\": the marking folds the case of a to z only, so "
                                  "a pupil who types this letter in the other case, or without "
                                  "its accent, is marked wrong")
                .arg(c);
        return QStringLiteral("holds \"%1\", which a pupil cannot type on a school keyboard")
            .arg(c);
    }
    return {};
}

std::optional<AnswerKind> answerKindOf(const QString& keyword) {
    const QString wanted = keyword.simplified().toLower();
    for (const Keyword& known : kKeywords)
        if (wanted == QLatin1String(known.text)) return known.kind;
    return std::nullopt;
}

bool takesItems(AnswerKind kind) {
    return kind == AnswerKind::Order || kind == AnswerKind::LabelledOrder;
}

SourceErrors fillChoices(const std::vector<ChoiceOption>& options, int headingLine,
                         QuestionStore& store, int q) {
    const int n = static_cast<int>(options.size());
    if (n < 2 || n > kMaxOptions)
        return {
            at(n > kMaxOptions ? options[kMaxOptions].text.line : headingLine,
               QStringLiteral("A choice shows 2 to 5 options (A to E); this one has %1.").arg(n),
               n < 2 ? QStringLiteral("Add options, one per line: - [ ] wrong or - [x] right.")
                     : QStringLiteral("Remove options until five are left, or split the "
                                      "question in two."))};
    int right = 0;
    for (int j = 1; j <= n; ++j) {
        const bool isRight = options[static_cast<std::size_t>(j - 1)].right;
        store.answerKey[q][j] = isRight ? 1 : 0;
        if (isRight && right++ == 0) store.answerText[q] = fromQt(letter(j));
    }
    if (right == 0)
        return {at(options.front().text.line, QStringLiteral("No option is marked right."),
                   QStringLiteral("Write [x] in the box of the right option: - [x] 1/2."))};
    store.questionType[q] = right == 1 ? KSINGLECHOICE : KMULTICHOICE;
    store.optionCount[q] = n;
    if (right > 1) store.answerText[q].clear();
    return {};
}

SourceErrors fillAnswer(AnswerKind kind, const SourceLine& answer,
                        const std::vector<SourceLine>& items, QuestionStore& store, int q) {
    switch (kind) {
    case AnswerKind::YesNo:
        return fillYesNo(answer, store, q);
    case AnswerKind::Money:
        store.questionType[q] = KCURRENCY;
        return fillMoney(answer, store, q);
    case AnswerKind::Pair:
    case AnswerKind::Pairs:
        store.questionType[q] = kind == AnswerKind::Pair ? KMULTIENTRY : KMULTIENTRYMULTI;
        return fillPairs(kind, answer, store, q);
    case AnswerKind::Order:
    case AnswerKind::LabelledOrder:
        return fillOrder(kind, answer, items, store, q);
    case AnswerKind::Word:
    case AnswerKind::Number:
    case AnswerKind::Time:
        store.questionType[q] = kind == AnswerKind::Word     ? KWORD
                                : kind == AnswerKind::Number ? KCOMMA
                                                             : KTIME;
        return fillTyped(kind, answer, store, q);
    }
    return {};
}

QString testNameProblem(const QString& name) {
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|]"));
    if (!storeText(name)) return QStringLiteral("holds a character a test name cannot hold");
    if (forbidden.match(name).hasMatch())
        return QStringLiteral("holds one of \\ / : * ? \" < > |, which a file name cannot hold");
    if (name.contains(QLatin1String(".txt"), Qt::CaseInsensitive))
        return QStringLiteral("holds \".txt\", which the program takes out of page folder names");
    if (name.endsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char('.')))
        return QStringLiteral("starts or ends with a full stop");
    if (name.size() > 100) return QStringLiteral("is longer than 100 characters");
    return {};
}

std::optional<Text> storeText(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 32 || c.unicode() == 127 || c.unicode() > 255) return std::nullopt;
    return fromQt(text);
}

QString unescaped(const QString& text) {
    static const QRegularExpression escape(
        QStringLiteral("\\\\([!\"#$%&'()*+,\\-./:;<=>?@\\[\\\\\\]^_`{|}~])"));
    QString plain = text;
    return plain.replace(escape, QStringLiteral("\\1"));
}

} // namespace corvane::make
