// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/from_test.h"

#include "core/library.h"
#include "core/read_aloud_mark.h"
#include "core/reader.h"
#include "tools/check/dump.h"
#include "tools/check/library_checks.h"
#include "tools/make/maths_typesetter.h"
#include "tools/make/test_file_writer.h"
#include "tools/make/test_source.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

#include <filesystem>

namespace corvane::make {

namespace {

QString letter(int j) {
    return QString(QChar('A' + j - 1));
}

// The text with a backslash before every sign of `signs`, which the source reads back as the
// sign itself.
QString escaped(const QString& text, QStringView signs) {
    QString out;
    for (const QChar c : text) {
        if (signs.contains(c)) out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

// An item's text is shown as Markdown: every ASCII punctuation sign is escaped.
QString escapedMarkdown(const QString& text) {
    return escaped(text, u"!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
}

// A name or an answer is read as written, less the escapes: only a backslash, the # that could
// close a heading and the brackets of a fixed text need one, so the teacher reads 1,254 as is.
QString plainValue(const QString& text) {
    return escaped(text, u"\\#[]");
}

QString answerValue(const Text& text) {
    return plainValue(toQt(text));
}

// What a page shows inside its <main> (or <body>).
QString pageContent(const QString& html) {
    static const QRegularExpression main(QStringLiteral("<main[^>]*>(.*)</main>"),
                                         QRegularExpression::DotMatchesEverythingOption |
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression body(QStringLiteral("<body[^>]*>(.*)</body>"),
                                         QRegularExpression::DotMatchesEverythingOption |
                                             QRegularExpression::CaseInsensitiveOption);
    for (const QRegularExpression* part : {&main, &body})
        if (const QRegularExpressionMatch m = part->match(html); m.hasMatch()) return m.captured(1);
    return html;
}

// Takes out the first element that `pattern` matches and gives its first capture.
QString takeOut(QString& html, const QRegularExpression& pattern) {
    const QRegularExpressionMatch m = pattern.match(html);
    if (!m.hasMatch()) return {};
    html.remove(m.capturedStart(), m.capturedLength());
    return m.captured(1).simplified();
}

QRegularExpression element(const char* pattern) {
    return QRegularExpression(QString::fromLatin1(pattern),
                              QRegularExpression::DotMatchesEverythingOption |
                                  QRegularExpression::CaseInsensitiveOption);
}

// The page's HTML as one raw HTML block of the source: a <div> whose lines are indented so
// that none reads as a heading, an option or an answer line, without blank lines, which would
// end the block.
QString rawBlock(const QString& html) {
    QStringList lines;
    for (const QString& line : html.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
        if (!line.trimmed().isEmpty()) lines << QStringLiteral("    ") + line.trimmed();
    if (lines.isEmpty()) return {};
    return QStringLiteral("<div class=\"kept\">\n") + lines.join(QLatin1Char('\n')) +
           QStringLiteral("\n</div>\n");
}

// The page's HTML, or empty with a note when it cannot be read.
QString pageHtml(const std::string& path, const QString& what, QStringList& notes) {
    const std::optional<std::string> bytes = check::fileBytes(path);
    if (!bytes) {
        notes << QStringLiteral("%1: the page %2 cannot be read; its text is left empty.")
                     .arg(what, shownName(std::filesystem::path(path).filename().native()));
        return {};
    }
    return QString::fromUtf8(QByteArray::fromStdString(*bytes));
}

// Text of raw HTML for one Markdown line: the signs Markdown would take as emphasis, code or
// links outside the tags are escaped.
// Typeset maths is given back as the formula it was made from.
QString inlineHtmlText(const QString& html) {
    QString out;
    bool inTag = false;
    qsizetype i = 0;
    const auto textUpTo = [&](qsizetype end) {
        for (; i < end; ++i) {
            const QChar c = html[i];
            if (c == QLatin1Char('<')) inTag = true;
            if (!inTag && QStringView(u"\\*_`[]~").contains(c)) out += QLatin1Char('\\');
            out += c;
            if (c == QLatin1Char('>')) inTag = false;
        }
    };
    for (const TypesetSpan& formula : typesetSpans(html)) {
        textUpTo(formula.start);
        out += formula.markdown;
        i = formula.end;
    }
    textUpTo(html.size());
    return out;
}

// A heading's HTML with its typeset maths given back as the formulas it was made from.
QString withFormulasAsWritten(QString html) {
    const std::vector<TypesetSpan> spans = typesetSpans(html);
    for (auto it = spans.rbegin(); it != spans.rend(); ++it)
        html.replace(it->start, it->end - it->start, it->markdown);
    return html;
}

// The lettered cards of a page, A, B, ... in order, as corvane-make shows options and items to
// order: a row of cards (a choice's stand over its tick boxes), or a list of options with the
// row of their letters alone under it. When there are `count` of them they are taken out of the
// page and their contents given: making the source shows them again from its options or items.
// Otherwise nothing is taken.
QStringList takeCards(QString& page, int count) {
    static const QRegularExpression block(
        QStringLiteral("<div class=\"(picture|choices|options)\">\\s*((?:<div class=\"card[^\"]*\">"
                       "<span class=\"letter\">[A-E]</span>.*?</div>\\s*)+)</div>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression letterRow(
        QStringLiteral("\\s*<div class=\"choices\">\\s*(?:<div class=\"card at-[a-e]\"><span "
                       "class=\"letter\">[A-E]</span></div>\\s*)+</div>"));
    static const QRegularExpression card(
        QStringLiteral(
            "<div class=\"card[^\"]*\"><span class=\"letter\">([A-E])</span>(.*?)</div>"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch cards = block.match(page);
    if (!cards.hasMatch()) return {};
    QStringList contents;
    for (const QRegularExpressionMatch& one : card.globalMatch(cards.captured(2))) {
        const QString content = one.captured(2).simplified();
        if (one.captured(1) != letter(static_cast<int>(contents.size()) + 1) || content.isEmpty() ||
            content.contains(QLatin1String("<div"), Qt::CaseInsensitive))
            return {};
        contents << inlineHtmlText(content);
    }
    if (contents.size() != count) return {};
    qsizetype end = cards.capturedEnd();
    if (cards.captured(1) == QLatin1String("options")) {
        const QRegularExpressionMatch row =
            letterRow.match(page, end, QRegularExpression::NormalMatch,
                            QRegularExpression::AnchorAtOffsetMatchOption);
        if (!row.hasMatch()) return {};
        end = row.capturedEnd();
    }
    page.remove(cards.capturedStart(), end - cards.capturedStart());
    return contents;
}

// The lines that end question q: options, items and the answer line, from the store. Options
// and items show `cards` where the page had them, else their letters.
QString answerLines(const QuestionStore& s, int q, const QStringList& cards) {
    const auto shown = [&cards](int j) { return j <= cards.size() ? cards[j - 1] : letter(j); };
    const int n = std::clamp(s.optionCount[q], 0, kMaxOptions);
    QString out;
    switch (s.questionType[q]) {
    case KSINGLECHOICE:
    case KMULTICHOICE:
        for (int j = 1; j <= n; ++j)
            out += QStringLiteral("- [%1] %2\n").arg(s.answerKey[q][j] == 1 ? "x" : " ", shown(j));
        return out;
    case KYESNO:
        return s.answerKey[q][1] == 1 ? QStringLiteral("Answer: yes\n")
                                      : QStringLiteral("Answer: no\n");
    case KORDER: {
        QStringList order;
        for (int j = 1; j <= n; ++j) {
            out += QStringLiteral("- %1\n").arg(shown(j));
            order << letter(std::clamp(s.answerKey[q][j], 1, kMaxOptions));
        }
        return out + QStringLiteral("\nOrder: ") + order.join(QStringLiteral(", ")) + '\n';
    }
    case KORDERUSER: {
        QStringList labels;
        for (int j = 1; j <= n; ++j)
            labels << toQt(s.optionLabel[q][j]);
        const bool byText = !labels.contains(QString()) &&
                            QSet<QString>(labels.begin(), labels.end()).size() == labels.size() &&
                            std::none_of(labels.begin(), labels.end(), [](const QString& l) {
                                return l.contains(QLatin1Char(','));
                            });
        QStringList order;
        for (int j = 1; j <= n; ++j) {
            out +=
                QStringLiteral("- %1\n").arg(byText ? escapedMarkdown(labels[j - 1]) : letter(j));
            const int item = std::clamp(s.answerKey[q][j], 1, n);
            QString word = byText ? escapedMarkdown(labels[item - 1]) : letter(item);
            if (s.fixedItemPos[q] == j)
                word = QStringLiteral("[%1] ").arg(toQt(s.fixedItemText[q])) + word;
            order << word;
        }
        return out + QStringLiteral("\nLabelled order: ") + order.join(QStringLiteral(", ")) + '\n';
    }
    case KCURRENCY:
        return QStringLiteral("Money: ") + answerValue(s.answerText[q]) + '\n';
    case KCOMMA:
        return QStringLiteral("Number: ") + answerValue(s.answerText[q]) + '\n';
    case KTIME:
        return QStringLiteral("Time: ") + answerValue(s.answerText[q]) + '\n';
    case KMULTIENTRY:
        return QStringLiteral("Pair: ") + answerValue(s.answerText[q]) + '\n';
    case KMULTIENTRYMULTI: {
        QStringList pairs;
        for (int k = 1; k <= std::clamp(s.altCount[q], 0, kMaxAlternatives); ++k)
            pairs << answerValue(s.altText[q][k]);
        return QStringLiteral("Pairs: ") + pairs.join(QStringLiteral(" or ")) + '\n';
    }
    case KWORD:
    default:
        return QStringLiteral("Word: ") + answerValue(s.answerText[q]) + '\n';
    }
}

// One JSON block per question of the store, as corvane-check --dump prints them.
QStringList questionDumps(const QuestionStore& store) {
    static const QRegularExpression block(QStringLiteral("\n    \\{\n(.*?)\n    \\}"),
                                          QRegularExpression::DotMatchesEverythingOption);
    QStringList dumps;
    const QString json = QString::fromLatin1(check::storeJson(store));
    for (const QRegularExpressionMatch& m : block.globalMatch(json))
        dumps << m.captured(1);
    return dumps;
}

// Reads the source back as corvane-make does and names every question that would not load
// to the same fields as the test's.
void noteDifferences(const QByteArray& source, const QuestionStore& original, QStringList& notes) {
    SourceErrors errors;
    const TestSource made = parseSource(source, errors);
    for (const SourceError& error : errors)
        notes << QStringLiteral("Line %1: %2").arg(error.line).arg(error.message);
    // Compared as the pupil's program loads them: through a test file.
    QuestionStore loaded;
    QTemporaryFile file;
    if (errors.empty() && file.open()) {
        file.write(testFileBytes(made.store, std::vector<Text>(kMaxQuestions)));
        file.close();
        try {
            readTestFile(QFile::encodeName(file.fileName()).toStdString(), loaded);
        } catch (const std::exception& error) {
            notes << QStringLiteral("The source does not make a test that loads: %1")
                         .arg(QString::fromLatin1(error.what()));
        }
    }
    const QStringList before = questionDumps(original);
    const QStringList after = questionDumps(loaded);
    for (int q = 1; q <= before.size(); ++q)
        if (q > after.size() || before[q - 1] != after[q - 1])
            notes << QStringLiteral("Question %1: making this source gives other answers than "
                                    "the test file holds; check its answer lines.")
                         .arg(q);
}

} // namespace

SourceFromTest sourceFromTest(const std::string& testFilePath) {
    QuestionStore store;
    readTestFile(testFilePath, store);
    SourceFromTest result;
    const std::string pages = check::pageFolderOf(testFilePath);
    const QString name =
        shownName(removeTxt(std::filesystem::path(testFilePath).filename().native()));

    const QString frontHtml =
        pageHtml(pages + "/front.htm", QStringLiteral("The front page"), result.notes);
    QString front = pageContent(frontHtml);
    takeOut(front, element("<h1[^>]*>(.*?)</h1>"));
    takeOut(front, element("<p class=\"go\"[^>]*>(.*?)</p>"));
    QString source = QStringLiteral("# ") + plainValue(name) + QStringLiteral("\n");
    if (readAloudRefused(frontHtml.toUtf8())) source += QStringLiteral("Read aloud: no\n");
    source += rawBlock(front);

    const int count = std::min(store.questionCount, kMaxQuestions);
    for (int q = 1; q <= count; ++q) {
        const QString what = QStringLiteral("Question %1").arg(q);
        QString page = pageContent(
            pageHtml(pages + "/question" + std::to_string(q) + ".htm", what, result.notes));
        takeOut(page, element("<p class=\"number\"[^>]*>(.*?)</p>"));
        QString heading = withFormulasAsWritten(takeOut(page, element("<h1[^>]*>(.*?)</h1>")));
        if (heading.isEmpty()) heading = what;
        const std::int32_t type = store.questionType[q];
        const QStringList cards =
            type == KSINGLECHOICE || type == KMULTICHOICE || type == KORDER
                ? takeCards(page, std::clamp(store.optionCount[q], 0, kMaxOptions))
                : QStringList();
        if (page.contains(QLatin1String("<img"), Qt::CaseInsensitive))
            result.notes << QStringLiteral("%1: its page shows pictures from the page folder; "
                                           "copy them beside the source and show them with "
                                           "![what it shows](picture.png).")
                                .arg(what);
        source += QStringLiteral("\n## ") + heading + QStringLiteral("\n") + rawBlock(page) +
                  QStringLiteral("\n") + answerLines(store, q, cards);
    }
    result.source = source.toUtf8();
    noteDifferences(result.source, store, result.notes);
    return result;
}

int printSourceOfTest(const QString& testFilePath) {
    QTextStream err(stderr);
    try {
        const SourceFromTest made = sourceFromTest(QFile::encodeName(testFilePath).toStdString());
        for (const QString& note : made.notes)
            err << testFilePath << ": " << note << "\n";
        std::fwrite(made.source.constData(), 1, static_cast<std::size_t>(made.source.size()),
                    stdout);
        return 0;
    } catch (const std::exception& error) {
        err << testFilePath << ": " << error.what() << "\n";
        return 1;
    }
}

} // namespace corvane::make
