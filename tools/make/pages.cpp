// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/pages.h"

#include "core/read_aloud_mark.h"

#include "tools/make/markdown.h"
#include "tools/make/maths_typesetter.h"
#include "tools/make/page_style.h"

#include <QRegularExpression>

namespace corvane::make {

namespace {

// What the pupil does under the page, by question type.
const char* howToAnswer(std::int32_t type) {
    switch (type) {
    case KSINGLECHOICE:
        return "Tick the box of the right letter under the page.";
    case KMULTICHOICE:
        return "Tick the box of <b>every</b> right letter under the page.";
    case KYESNO:
        return "Click <b>Yes</b> or <b>No</b> under the page.";
    case KORDER:
        return "Click the letters under the page in the right order. Made a mistake? Click "
               "<b>Clear</b> and start again.";
    case KORDERUSER:
        return "Click the answers under the page in the right order. Made a mistake? Click "
               "<b>Clear</b> and start again.";
    case KWORD:
        return "Type the word in the box under the page.";
    case KCURRENCY:
        return "Type the amount of money in the box under the page.";
    case KCOMMA:
        return "Type the number in the box under the page.";
    case KTIME:
        return "Type the time in the box under the page.";
    case KMULTIENTRY:
    case KMULTIENTRYMULTI:
    default:
        return "Type the two numbers in the box under the page.";
    }
}

// A paragraph of pictures alone is centred, as the pictures of a worksheet are.
QByteArray withPictureRows(QByteArray html) {
    static const QRegularExpression row(QStringLiteral("<p>((?:\\s*<img [^>]*>)+\\s*)</p>"));
    return QString::fromUtf8(html)
        .replace(row, QStringLiteral("<p class=\"pictures\">\\1</p>"))
        .toUtf8();
}

QByteArray escaped(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

QByteArray page(const QString& title, const QByteArray& mainClass, const QByteArray& content,
                const QByteArray& head = {}) {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n  <meta charset=\"utf-8\">\n" + head +
           "  <title>" + escaped(title) +
           "</title>\n  <link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n"
           "  <main class=\"" +
           mainClass + "\">\n" + content + "  </main>\n</body>\n</html>\n";
}

QByteArray letter(std::size_t i) {
    return "<span class=\"letter\">" + QByteArray(1, static_cast<char>('A' + i)) + "</span>";
}

QByteArray cards(const QuestionPage& question) {
    if (question.cards.empty()) return {};
    QByteArray html = "    <div class=\"picture\">\n";
    for (std::size_t i = 0; i < question.cards.size(); ++i) {
        html += "      <div class=\"card\">";
        if (question.letteredCards) html += letter(i);
        html += inlineHtml(question.cards[i].text()) + "</div>\n";
    }
    return html + "    </div>\n";
}

// True when the option's words fit a card as wide as the space between two tick boxes: no
// word longer than five characters, a dozen characters in all (pictures shrink to fit).
bool fitsOverItsBox(const MarkdownPart& option) {
    static const QRegularExpression markup(
        QStringLiteral("!\\[[^\\]]*\\]\\([^)]*\\)|<[^>]*>|[*_`~\\\\]"));
    const QString text = withMathsAsPlain(option.text()).remove(markup).simplified();
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return text.size() <= 12 && std::all_of(words.begin(), words.end(),
                                            [](const QString& word) { return word.size() <= 5; });
}

// The options of a choice, each card standing over its tick box under the page (A over box A,
// B over box B ...). Options too long for that are listed with their letters above a row of
// the letters alone, which stand over the boxes.
QByteArray choiceCards(const QuestionPage& question) {
    const std::vector<MarkdownPart>& options = question.cards;
    const bool overBoxes = std::all_of(options.begin(), options.end(), fitsOverItsBox);
    QByteArray html;
    if (!overBoxes) {
        html += "    <div class=\"options\">\n";
        for (std::size_t i = 0; i < options.size(); ++i)
            html += "      <div class=\"card\">" + letter(i) + inlineHtml(options[i].text()) +
                    "</div>\n";
        html += "    </div>\n";
    }
    html += "    <div class=\"choices\">\n";
    for (std::size_t i = 0; i < options.size(); ++i)
        html += "      <div class=\"card at-" + QByteArray(1, static_cast<char>('a' + i)) + "\">" +
                letter(i) + (overBoxes ? inlineHtml(options[i].text()) : QByteArray()) + "</div>\n";
    return html + "    </div>\n";
}

QByteArray questionPage(const TestSource& source, int q) {
    const QuestionPage& question = source.pages[static_cast<std::size_t>(q - 1)];
    const QByteArray number = QByteArray::number(q);
    QByteArray content = "    <p class=\"number\">Question " + number + "</p>\n    <h1>" +
                         inlineHtml(question.heading) + "</h1>\n";
    if (!question.body.text().trimmed().isEmpty())
        content += "    <div class=\"text\">\n" +
                   withPictureRows(markdownHtml(question.body.text())) + "    </div>\n";
    const std::int32_t type = source.store.questionType[q];
    content +=
        type == KSINGLECHOICE || type == KMULTICHOICE ? choiceCards(question) : cards(question);
    content += "    <p class=\"how\">" + QByteArray(howToAnswer(type));
    if (!question.formHint.isEmpty()) content += "<br>\n      " + escaped(question.formHint);
    content += "</p>\n";
    return page(source.name + QStringLiteral(" \u2013 Question %1").arg(q), "page", content);
}

QByteArray frontPage(const TestSource& source) {
    const int count = source.store.questionCount;
    QByteArray welcome = withPictureRows(markdownHtml(source.front.text()));
    if (welcome.trimmed().isEmpty())
        welcome = "<p>There " + QByteArray(count == 1 ? "is 1 question" : "are ") +
                  (count == 1 ? QByteArray() : QByteArray::number(count) + " questions") +
                  ". Take your time!</p>\n";
    const QByteArray content = "    <h1>" + escaped(source.name) +
                               "</h1>\n    <div class=\"welcome\">\n" + welcome +
                               "    </div>\n    <p class=\"go\">When you are ready, click "
                               "<b>Click here to Start</b> below. Good luck!</p>\n";
    // The pupil's window offers no reading aloud for this test.
    const QByteArray noReading =
        source.readAloud ? QByteArray() : "  " + QByteArray(kNoReadAloudMeta) + "\n";
    return page(source.name + QStringLiteral(" \u2013 Welcome"), "page front", content, noReading);
}

// The source lines a page is made from, to find the line of a formula on it.
struct PageLines {
    int first = 0;
    std::vector<std::pair<int, QString>> lines;
    void add(const MarkdownPart& part) {
        for (qsizetype i = 0; i < part.lines.size(); ++i)
            lines.emplace_back(part.line + static_cast<int>(i), part.lines[i]);
    }
    int lineOf(const QString& tex) const {
        for (const auto& [line, text] : lines)
            if (text.contains(tex)) return line;
        return first;
    }
};

PageLines questionLines(const QuestionPage& question) {
    PageLines lines{question.line, {{question.line, question.heading}}};
    lines.add(question.body);
    for (const MarkdownPart& card : question.cards)
        lines.add(card);
    return lines;
}

// True when the page shows typeset maths: typeset now, or kept from a made page's HTML.
bool holdsMaths(const QByteArray& page) {
    return page.contains("class=\"katex\"");
}

// The finished page with its maths typeset and, when it has any, KaTeX's style linked. A
// formula KaTeX refuses is an error on its line.
QByteArray withMathsTypeset(const QByteArray& page, const PageLines& lines, MathsTypesetter& maths,
                            SourceErrors& errors) {
    TypesetHtml typeset = maths.typeset(page);
    for (const MathsFault& fault : typeset.faults)
        errors.push_back(
            {lines.lineOf(fault.tex),
             QStringLiteral("The maths \"%1\" cannot be typeset: %2").arg(fault.tex, fault.reason),
             QStringLiteral("Write it as in the teachers' guide to maths, e.g. "
                            "$\\frac{3}{4}$, $5^2$ or $\\sqrt{49}$, or choose it "
                            "from the Insert menu.")});
    if (holdsMaths(typeset.html)) {
        const qsizetype head = typeset.html.indexOf("</head>");
        typeset.html.insert(head, mathsStyleLink());
    }
    return typeset.html;
}

} // namespace

std::vector<PageFile> testPages(const TestSource& source, MathsTypesetter& maths,
                                SourceErrors& errors) {
    PageLines front{source.nameLine, {}};
    front.add(source.front);
    std::vector<PageFile> files{
        {QStringLiteral("style.css"), pageStyle()},
        {QStringLiteral("front.htm"), withMathsTypeset(frontPage(source), front, maths, errors)}};
    for (int q = 1; q <= source.store.questionCount; ++q)
        files.push_back(
            {QStringLiteral("question%1.htm").arg(q),
             withMathsTypeset(questionPage(source, q),
                              questionLines(source.pages[static_cast<std::size_t>(q - 1)]), maths,
                              errors)});
    if (std::any_of(files.begin(), files.end(),
                    [](const PageFile& file) { return holdsMaths(file.bytes); })) {
        QString problem;
        for (PageFile& file : mathsStyleFiles(problem))
            files.push_back(std::move(file));
        if (!problem.isEmpty())
            errors.push_back({source.nameLine,
                              QStringLiteral("The maths cannot be shown: %1.").arg(problem),
                              QStringLiteral("Install the packages libjs-katex and fonts-katex.")});
    }
    return files;
}

} // namespace corvane::make
