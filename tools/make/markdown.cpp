// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/markdown.h"

#include "core/tex_plain.h"

#include <QRegularExpression>
#include <QUrl>

#include <md4c-html.h>
#include <md4c.h>

namespace corvane::make {

namespace {

// $..$ and $$..$$ are maths: md4c hands them on as <x-equation> for the typesetter.
constexpr unsigned kDialect = MD_FLAG_TABLES | MD_FLAG_STRIKETHROUGH | MD_FLAG_LATEXMATHSPANS;

void appendHtml(const MD_CHAR* text, MD_SIZE size, void* out) {
    static_cast<QByteArray*>(out)->append(text, static_cast<qsizetype>(size));
}

// Picture names written with blanks, as teachers' files are named ("coin one.png"), put in
// <...> so that Markdown reads them as one address; a "title" after the name stays outside.
QString withPictureNamesEnclosed(const QString& markdown) {
    static const QRegularExpression picture(QStringLiteral(
        "(!\\[(?:[^\\]\\\\\\n]|\\\\.)*\\]\\()[ \\t]*((?:[^()<>\\n]|\\([^()\\n]*\\))*?)"
        "([ \\t]+(?:\"[^\"\\n]*\"|'[^'\\n]*'))?[ \\t]*\\)"));
    QString text = markdown;
    qsizetype from = 0;
    for (QRegularExpressionMatch match = picture.match(text, from); match.hasMatch();
         match = picture.match(text, from)) {
        const QString name = match.captured(2);
        QString replaced = match.captured(0);
        if (name.contains(QRegularExpression(QStringLiteral("\\s"))))
            replaced = match.captured(1) + QLatin1Char('<') + name + QLatin1Char('>') +
                       match.captured(3) + QLatin1Char(')');
        text.replace(match.capturedStart(), match.capturedLength(), replaced);
        from = match.capturedStart() + replaced.size();
    }
    return text;
}

// The text of an attribute such as an image's src, as written.
QString attributeText(const MD_ATTRIBUTE& attribute) {
    QByteArray text;
    for (int i = 0; attribute.substr_offsets[i] < attribute.size; ++i) {
        if (attribute.substr_types[i] == MD_TEXT_NULLCHAR) continue;
        const MD_OFFSET from = attribute.substr_offsets[i];
        text.append(attribute.text + from,
                    static_cast<qsizetype>(attribute.substr_offsets[i + 1] - from));
    }
    return QString::fromUtf8(text);
}

// An address as written, its percent escapes and its character entities decoded.
QString decodedAddress(const QString& written) {
    QString address = QUrl::fromPercentEncoding(written.toUtf8());
    static const QRegularExpression entity(QStringLiteral("&[#A-Za-z0-9]+;"));
    for (QRegularExpressionMatch m = entity.match(address); m.hasMatch();
         m = entity.match(address, m.capturedStart() + 1)) {
        const QString text = decodedEntity(m.captured());
        if (!text.isEmpty()) address.replace(m.capturedStart(), m.capturedLength(), text);
    }
    return address;
}

int noBlock(MD_BLOCKTYPE, void*, void*) {
    return 0;
}
int noSpanEnd(MD_SPANTYPE, void*, void*) {
    return 0;
}

// What the parse collects: the addresses of ![..](..) pictures, the raw HTML at its place in
// the text (all else blanks, line ends kept) and the lines of links.
struct Found {
    const QByteArray* text = nullptr;
    QStringList written;
    QByteArray html;
    std::vector<int> links;
    bool inLink = false;

    // The offset of `at` in the text, or -1 when md4c made the characters itself.
    qsizetype offsetOf(const MD_CHAR* at) const {
        const qsizetype offset = at - text->constData();
        return offset >= 0 && offset < text->size() ? offset : -1;
    }
    int lineAt(qsizetype offset) const {
        return 1 + static_cast<int>(text->left(offset).count('\n'));
    }
};

int textOf(MD_TEXTTYPE type, const MD_CHAR* text, MD_SIZE size, void* data) {
    auto* found = static_cast<Found*>(data);
    const qsizetype offset = found->offsetOf(text);
    if (offset < 0) return 0;
    if (type == MD_TEXT_HTML)
        found->html.replace(offset, static_cast<qsizetype>(size), text,
                            static_cast<qsizetype>(size));
    if (found->inLink) {
        found->links.push_back(found->lineAt(offset));
        found->inLink = false;
    }
    return 0;
}
int enterSpan(MD_SPANTYPE type, void* detail, void* data) {
    auto* found = static_cast<Found*>(data);
    if (type == MD_SPAN_IMG)
        found->written.append(attributeText(static_cast<MD_SPAN_IMG_DETAIL*>(detail)->src));
    if (type == MD_SPAN_A) found->inLink = true; // its line is that of its first text
    return 0;
}

Found parsed(const QByteArray& utf8) {
    Found found;
    found.text = &utf8;
    found.html = QByteArray(utf8.size(), ' ');
    for (qsizetype i = 0; i < utf8.size(); ++i)
        if (utf8[i] == '\n') found.html[i] = '\n';
    MD_PARSER parser{};
    parser.flags = kDialect;
    parser.enter_block = noBlock;
    parser.leave_block = noBlock;
    parser.enter_span = enterSpan;
    parser.leave_span = noSpanEnd;
    parser.text = textOf;
    md_parse(utf8.constData(), static_cast<MD_SIZE>(utf8.size()), &parser, &found);
    return found;
}

} // namespace

QByteArray markdownHtml(const QString& markdown) {
    const QByteArray utf8 = withPictureNamesEnclosed(markdown).toUtf8();
    QByteArray html;
    md_html(utf8.constData(), static_cast<MD_SIZE>(utf8.size()), appendHtml, &html, kDialect, 0);
    return html;
}

QString withMathsAsPlain(QString markdown) {
    static const QRegularExpression formula(
        QStringLiteral("\\$\\$(.+?)\\$\\$|\\$(\\S(?:[^$]*\\S)?)\\$(?!\\d)"));
    for (QRegularExpressionMatch m = formula.match(markdown); m.hasMatch();
         m = formula.match(markdown, m.capturedStart() + 1))
        markdown.replace(m.capturedStart(), m.capturedLength(),
                         texAsPlain(m.captured(1) + m.captured(2)));
    return markdown;
}

QString decodedEntity(const QString& entity) {
    QString html = QString::fromUtf8(markdownHtml(entity));
    if (!html.startsWith(QLatin1String("<p>")) || !html.endsWith(QLatin1String("</p>\n")))
        return {};
    html = html.mid(3, html.size() - 8);
    if (html == entity.toHtmlEscaped()) return {};
    return html.replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

QByteArray inlineHtml(const QString& markdown) {
    QByteArray html = markdownHtml(markdown).trimmed();
    if (html.startsWith("<p>") && html.endsWith("</p>") && html.count("<p>") == 1)
        html = html.mid(3, html.size() - 7);
    return html;
}

std::vector<PictureRef> picturesIn(const QString& markdown) {
    const QByteArray utf8 = withPictureNamesEnclosed(markdown).toUtf8();
    const Found found = parsed(utf8);
    std::vector<PictureRef> pictures;
    for (const QString& written : found.written)
        pictures.push_back({decodedAddress(written), written});
    for (const auto& [line, src] : checkHtml(found.html).pictures)
        pictures.push_back({decodedAddress(src), src, line});
    return pictures;
}

std::vector<HtmlRefusal> refusedIn(const QString& markdown) {
    const QByteArray utf8 = withPictureNamesEnclosed(markdown).toUtf8();
    const Found found = parsed(utf8);
    std::vector<HtmlRefusal> refused = checkHtml(found.html).refused;
    for (int line : found.links)
        refused.push_back({line, QStringLiteral("a link")});
    return refused;
}

} // namespace corvane::make
