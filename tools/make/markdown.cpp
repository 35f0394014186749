#include "tools/make/markdown.h"

#include <QUrl>

#include <md4c-html.h>
#include <md4c.h>

namespace corvane::make {

namespace {

constexpr unsigned kDialect = MD_FLAG_TABLES | MD_FLAG_STRIKETHROUGH;

void appendHtml(const MD_CHAR* text, MD_SIZE size, void* out) {
    static_cast<QByteArray*>(out)->append(text, static_cast<qsizetype>(size));
}

// The text of an attribute such as an image's src, its entities left as written.
QString attributeText(const MD_ATTRIBUTE& attribute) {
    QByteArray text;
    for (int i = 0; attribute.substr_offsets[i] < attribute.size; ++i) {
        if (attribute.substr_types[i] == MD_TEXT_NULLCHAR) continue;
        const MD_OFFSET from = attribute.substr_offsets[i];
        text.append(attribute.text + from,
                    static_cast<qsizetype>(attribute.substr_offsets[i + 1] - from));
    }
    return QUrl::fromPercentEncoding(text);
}

int noBlock(MD_BLOCKTYPE, void*, void*) {
    return 0;
}
int noSpanEnd(MD_SPANTYPE, void*, void*) {
    return 0;
}
int noText(MD_TEXTTYPE, const MD_CHAR*, MD_SIZE, void*) {
    return 0;
}
int enterSpan(MD_SPANTYPE type, void* detail, void* pictures) {
    if (type == MD_SPAN_IMG)
        static_cast<QStringList*>(pictures)->append(
            attributeText(static_cast<MD_SPAN_IMG_DETAIL*>(detail)->src));
    return 0;
}

} // namespace

QByteArray markdownHtml(const QString& markdown) {
    const QByteArray utf8 = markdown.toUtf8();
    QByteArray html;
    md_html(utf8.constData(), static_cast<MD_SIZE>(utf8.size()), appendHtml, &html, kDialect, 0);
    return html;
}

QByteArray inlineHtml(const QString& markdown) {
    QByteArray html = markdownHtml(markdown).trimmed();
    if (html.startsWith("<p>") && html.endsWith("</p>") && html.count("<p>") == 1)
        html = html.mid(3, html.size() - 7);
    return html;
}

QStringList picturesIn(const QString& markdown) {
    const QByteArray utf8 = markdown.toUtf8();
    QStringList pictures;
    MD_PARSER parser{};
    parser.flags = kDialect;
    parser.enter_block = noBlock;
    parser.leave_block = noBlock;
    parser.enter_span = enterSpan;
    parser.leave_span = noSpanEnd;
    parser.text = noText;
    md_parse(utf8.constData(), static_cast<MD_SIZE>(utf8.size()), &parser, &pictures);
    return pictures;
}

} // namespace corvane::make
