// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/test_source.h"

#include "tools/make/answers.h"
#include "tools/make/form_hints.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace corvane::make {

namespace {

struct NumberedLine {
    int line = 0;
    QString text;
};
using Lines = std::vector<NumberedLine>;

// The headings may close with a run of #, as Markdown allows: "## Question ##".
const QRegularExpression& nameHeading() {
    static const QRegularExpression re(QStringLiteral("^ {0,3}#(?:\\s+(.*?))?(?:\\s+#+)?\\s*$"));
    return re;
}
const QRegularExpression& questionHeading() {
    static const QRegularExpression re(QStringLiteral("^ {0,3}##(?:\\s+(.*?))?(?:\\s+#+)?\\s*$"));
    return re;
}
const QRegularExpression& fence() {
    static const QRegularExpression re(QStringLiteral("^ {0,3}(```|~~~)"));
    return re;
}
const QRegularExpression& optionLine() {
    static const QRegularExpression re(
        QStringLiteral("^ {0,3}[-*+]\\s+\\[([ xX])\\]\\s+(.*?)\\s*$"));
    return re;
}
const QRegularExpression& itemLine() {
    static const QRegularExpression re(
        QStringLiteral("^ {0,3}(?:[-*+]|\\d{1,9}[.)])\\s+(.*?)\\s*$"));
    return re;
}

// The answer kind and value of an answer line such as "Money: £1.50", or none.
std::optional<std::pair<AnswerKind, QString>> answerLine(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^ {0,3}([A-Za-z][A-Za-z ]*?)\\s*:(.*)$"));
    const QRegularExpressionMatch match = re.match(text);
    if (!match.hasMatch()) return std::nullopt;
    const std::optional<AnswerKind> kind = answerKindOf(match.captured(1));
    if (!kind) return std::nullopt;
    return std::pair{*kind, match.captured(2)};
}

QString decoded(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

bool isBlank(const NumberedLine& line) {
    return line.text.trimmed().isEmpty();
}

MarkdownPart partOf(Lines::const_iterator begin, Lines::const_iterator end) {
    MarkdownPart part;
    if (begin != end) part.line = begin->line;
    for (auto it = begin; it != end; ++it)
        part.lines << it->text;
    return part;
}

const char* const kAnswerLines = "Word: forty, Number: 1,245, Money: £1.50, Time: 3:45, "
                                 "Answer: yes, Pair: 4 r 3";

class QuestionReader {
  public:
    QuestionReader(TestSource& source, SourceErrors& errors) : source_(source), errors_(errors) {}

    // Reads the question whose heading is `heading` and whose lines follow it.
    void read(const NumberedLine& heading, const QString& headingText, Lines lines) {
        while (!lines.empty() && isBlank(lines.back()))
            lines.pop_back();
        QuestionPage page;
        page.line = heading.line;
        page.heading = headingText;
        if (headingText.isEmpty())
            error(heading.line, QStringLiteral("The question's heading is empty."),
                  QStringLiteral("Write the question after the ##, e.g. ## What is 3 x 415?"));
        const int q = static_cast<int>(source_.pages.size()) + 1;
        const auto answerAt = std::find_if(lines.begin(), lines.end(), [](const NumberedLine& l) {
            return answerLine(l.text).has_value();
        });
        if (answerAt != lines.end())
            readAnswer(page, lines, answerAt, q);
        else
            readChoices(page, lines, q);
        source_.pages.push_back(std::move(page));
    }

  private:
    void error(int line, const QString& message, const QString& fix) {
        errors_.push_back({line, message, fix});
    }

    void add(SourceErrors found) { errors_.insert(errors_.end(), found.begin(), found.end()); }

    bool storable(int q) const { return q <= kMaxQuestions; }

    void readAnswer(QuestionPage& page, const Lines& lines, Lines::const_iterator answerAt, int q) {
        if (answerAt + 1 != lines.end())
            error((answerAt + 1)->line,
                  QStringLiteral("Text follows the answer line; the answer line must end the "
                                 "question."),
                  QStringLiteral("Move this text above the answer line, start a new question "
                                 "with ## before it, or write \\: for a colon that is text."));
        const auto [kind, value] = *answerLine(answerAt->text);
        if (std::any_of(lines.begin(), answerAt, [](const NumberedLine& l) {
                return optionLine().match(l.text).hasMatch();
            }))
            error(answerAt->line,
                  QStringLiteral("The question has both options ([ ] / [x]) and an answer line."),
                  QStringLiteral("Keep the options for a choice, or the answer line for a typed "
                                 "answer."));
        auto bodyEnd = answerAt;
        std::vector<SourceLine> items;
        if (takesItems(kind)) {
            while (bodyEnd != lines.begin() && isBlank(*(bodyEnd - 1)))
                --bodyEnd;
            while (bodyEnd != lines.begin() && itemLine().match((bodyEnd - 1)->text).hasMatch())
                --bodyEnd;
            for (auto it = bodyEnd; it != answerAt; ++it)
                if (!isBlank(*it))
                    items.push_back({it->line, itemLine().match(it->text).captured(1)});
            page.letteredCards = kind == AnswerKind::Order;
            for (const SourceLine& item : items)
                page.cards.push_back({item.line, {item.text}});
        }
        page.body = partOf(lines.begin(), bodyEnd);
        if (!storable(q)) return;
        const std::size_t before = errors_.size();
        add(fillAnswer(kind, {answerAt->line, value}, items, source_.store, q));
        if (errors_.size() == before) page.formHint = formHint(kind, value, source_.store, q);
    }

    void readChoices(QuestionPage& page, const Lines& lines, int q) {
        auto first = lines.end();
        while (first != lines.begin() &&
               (isBlank(*(first - 1)) || optionLine().match((first - 1)->text).hasMatch()))
            --first;
        while (first != lines.end() && isBlank(*first))
            ++first;
        std::vector<ChoiceOption> options;
        for (auto it = first; it != lines.end(); ++it) {
            if (isBlank(*it)) continue;
            const QRegularExpressionMatch match = optionLine().match(it->text);
            options.push_back(
                {{it->line, match.captured(2)}, match.captured(1) != QLatin1String(" ")});
            page.cards.push_back({it->line, {match.captured(2)}});
        }
        page.letteredCards = true;
        page.body = partOf(lines.begin(), first);
        const auto stray = std::find_if(lines.begin(), first, [](const NumberedLine& l) {
            return optionLine().match(l.text).hasMatch();
        });
        if (stray != first) {
            error(stray->line,
                  QStringLiteral("This option is followed by other text; the options must be "
                                 "the last lines of the question."),
                  QStringLiteral("Move the text above the options."));
            return;
        }
        if (options.empty()) {
            error(page.line, QStringLiteral("The question has no answer."),
                  QStringLiteral("End it with options (- [ ] wrong, - [x] right) or an answer "
                                 "line such as %1.")
                      .arg(QString::fromUtf8(kAnswerLines)));
            return;
        }
        if (storable(q)) add(fillChoices(options, page.line, source_.store, q));
    }

    TestSource& source_;
    SourceErrors& errors_;
};

// Takes the "Read aloud: yes|no" line out of the front page's lines.
void readReadAloud(MarkdownPart& front, bool& readAloud, SourceErrors& errors) {
    static const QRegularExpression re(QStringLiteral("^ {0,3}read aloud\\s*:\\s*(.*?)\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption);
    for (qsizetype i = 0; i < front.lines.size(); ++i) {
        const QRegularExpressionMatch match = re.match(front.lines[i]);
        if (!match.hasMatch()) continue;
        const QString value = match.captured(1).toLower();
        if (value == QLatin1String("no") || value == QLatin1String("yes"))
            readAloud = value == QLatin1String("yes");
        else
            errors.push_back({front.line + int(i),
                              QStringLiteral("\"Read aloud\" is \"%1\".").arg(match.captured(1)),
                              QStringLiteral("Write Read aloud: no (for a test where reading is "
                                             "the point) or leave the line out.")});
        front.lines[i].clear(); // a blank line keeps the Markdown's paragraphs apart
    }
}

Lines numbered(const QString& text) {
    Lines lines;
    int n = 0;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
        lines.push_back({++n, line});
    return lines;
}

} // namespace

TestSource parseSource(const QByteArray& sourceText, SourceErrors& errors) {
    TestSource source;
    const Lines lines = numbered(decoded(sourceText));
    auto it = std::find_if_not(lines.begin(), lines.end(), isBlank);
    const QRegularExpressionMatch name =
        it == lines.end() ? QRegularExpressionMatch() : nameHeading().match(it->text);
    if (!name.hasMatch() || name.captured(1).isEmpty()) {
        errors.push_back({it == lines.end() ? 1 : it->line,
                          QStringLiteral("The first line must be the test's name."),
                          QStringLiteral("Start the file with # and the name, e.g. # Fractions")});
        return source;
    }
    source.name = unescaped(name.captured(1));
    source.nameLine = it->line;
    ++it;

    // Split at the level-2 headings that stand outside fenced code.
    std::vector<Lines::const_iterator> headings;
    bool inCode = false;
    for (auto at = it; at != lines.end(); ++at) {
        if (fence().match(at->text).hasMatch()) inCode = !inCode;
        if (!inCode && questionHeading().match(at->text).hasMatch()) headings.push_back(at);
    }
    headings.push_back(lines.end());
    source.front = partOf(it, headings.front());
    readReadAloud(source.front, source.readAloud, errors);

    QuestionReader reader(source, errors);
    for (std::size_t h = 0; h + 1 < headings.size(); ++h) {
        const auto heading = headings[h];
        if (static_cast<int>(h) == kMaxQuestions)
            errors.push_back({heading->line,
                              QStringLiteral("This is question %1 of %2; a test holds at most %3.")
                                  .arg(h + 1)
                                  .arg(headings.size() - 1)
                                  .arg(kMaxQuestions),
                              QStringLiteral("Split the questions into two tests.")});
        reader.read(*heading, questionHeading().match(heading->text).captured(1),
                    Lines(heading + 1, headings[h + 1]));
    }
    source.store.questionCount =
        std::min<int>(static_cast<int>(source.pages.size()), kMaxQuestions);
    if (source.pages.empty())
        errors.push_back({source.nameLine, QStringLiteral("The test has no questions."),
                          QStringLiteral("Start each question with ## and its heading, e.g. "
                                         "## What is 3 x 415?")});
    return source;
}

std::vector<MarkdownPart> markdownParts(const TestSource& source) {
    std::vector<MarkdownPart> parts{source.front};
    for (const QuestionPage& page : source.pages) {
        parts.push_back(page.body);
        parts.insert(parts.end(), page.cards.begin(), page.cards.end());
    }
    for (const QuestionPage& page : source.pages)
        parts.push_back({page.line, {page.heading}});
    return parts;
}

} // namespace corvane::make
