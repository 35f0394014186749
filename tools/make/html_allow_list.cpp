// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/html_allow_list.h"

#include <QRegularExpression>

#include <libxml/HTMLparser.h>

#include <memory>
#include <set>
#include <string_view>

namespace corvane::make {

namespace {

bool isOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    for (std::string_view allowed : names)
        if (name == allowed) return true;
    return false;
}

// A drawing of shapes and words, as the sample tests draw coins and clocks: no pictures,
// links, uses of other parts, foreign content, scripts or animation.
bool isDrawing(std::string_view name) {
    return isOneOf(name, {"svg", "g", "rect", "circle", "ellipse", "line", "polyline", "polygon",
                          "path", "text", "tspan"});
}

// Typeset maths as KaTeX writes it (MathML for screen readers beside its HTML), which a page
// written from a made test keeps: layout only, no links.
bool isMaths(std::string_view name) {
    return isOneOf(name, {"math",  "semantics",  "annotation", "mrow",    "mi",     "mn",
                          "mo",    "mtext",      "mspace",     "mpadded", "mstyle", "msup",
                          "msub",  "msubsup",    "mfrac",      "msqrt",   "mroot",  "munder",
                          "mover", "munderover", "mtable",     "mtr",     "mtd",    "menclose"});
}

bool elementAllowed(std::string_view name) {
    return isDrawing(name) || isMaths(name) ||
           isOneOf(name,
                   {"p",   "br",    "hr",      "h1",     "h2",         "h3",     "h4",
                    "h5",  "h6",    "ul",      "ol",     "li",         "dl",     "dt",
                    "dd",  "table", "caption", "thead",  "tbody",      "tfoot",  "tr",
                    "th",  "td",    "em",      "strong", "b",          "i",      "u",
                    "s",   "del",   "ins",     "sup",    "sub",        "small",  "span",
                    "div", "img",   "code",    "pre",    "blockquote", "center", "x-equation"});
}

// Why the value of an attribute that is allowed is not, or empty when it is.
QString valueProblem(std::string_view element, std::string_view attribute, const QString& value) {
    static const QRegularExpression number(QStringLiteral("^\\s*\\d+(\\.\\d+)?\\s*(%|px)?\\s*$"));
    if (isOneOf(attribute, {"width", "height", "colspan", "rowspan", "start"}) &&
        !isDrawing(element) && !isMaths(element))
        return number.match(value).hasMatch() ? QString() : QStringLiteral("that is not a number");
    if (attribute == "type" && element == "x-equation")
        return value == QLatin1String("display") ? QString() : QStringLiteral("of another kind");
    // Neither a paint nor any other attribute may fetch.
    static const QRegularExpression fetches(QStringLiteral("url\\s*\\("),
                                            QRegularExpression::CaseInsensitiveOption);
    if (value.contains(fetches)) return QStringLiteral("with url(");
    if (attribute != "style") return {};
    // Plain properties only: no escapes, comments, at-rules or functions but colours and
    // calc(), so that no url(), image() or expression() can hide in it.
    const QString css = value.toLower();
    if (css.contains(QLatin1Char('\\')) || css.contains(QLatin1String("/*")) ||
        css.contains(QLatin1Char('@')) || css.contains(QLatin1Char('<')))
        return QStringLiteral("with an escape, a comment or a rule");
    static const QRegularExpression function(QStringLiteral("([a-z-]*)\\s*\\("));
    for (const QRegularExpressionMatch& m : function.globalMatch(css))
        if (!QStringList{"rgb", "rgba", "hsl", "hsla", "calc"}.contains(m.captured(1)))
            return QStringLiteral("with %1(").arg(m.captured(1));
    return {};
}

bool attributeAllowed(std::string_view element, std::string_view attribute) {
    if (element == "x-equation") return attribute == "type";
    if (isOneOf(attribute, {"class", "title", "style", "lang", "dir", "align", "role", "aria-label",
                            "aria-hidden"}))
        return true;
    if (isMaths(element))
        return isOneOf(attribute, {"xmlns",      "display",       "encoding",      "mathvariant",
                                   "stretchy",   "fence",         "separator",     "lspace",
                                   "rspace",     "linethickness", "width",         "height",
                                   "depth",      "accent",        "accentunder",   "columnalign",
                                   "rowspacing", "columnspacing", "scriptlevel",   "displaystyle",
                                   "minsize",    "maxsize",       "movablelimits", "notation",
                                   "symmetric",  "largeop"});
    if (isDrawing(element))
        return isOneOf(attribute, {"xmlns",
                                   "width",
                                   "height",
                                   "viewbox",
                                   "preserveaspectratio",
                                   "x",
                                   "y",
                                   "cx",
                                   "cy",
                                   "r",
                                   "rx",
                                   "ry",
                                   "x1",
                                   "y1",
                                   "x2",
                                   "y2",
                                   "points",
                                   "d",
                                   "fill",
                                   "stroke",
                                   "stroke-width",
                                   "stroke-linecap",
                                   "stroke-linejoin",
                                   "stroke-dasharray",
                                   "opacity",
                                   "fill-opacity",
                                   "stroke-opacity",
                                   "font-size",
                                   "font-family",
                                   "font-weight",
                                   "font-style",
                                   "text-anchor",
                                   "dominant-baseline",
                                   "transform"});
    if (element == "img") return isOneOf(attribute, {"src", "alt", "width", "height"});
    if (element == "td" || element == "th") return isOneOf(attribute, {"colspan", "rowspan"});
    if (element == "ol") return isOneOf(attribute, {"start", "type"});
    return false;
}

QString text(const xmlChar* chars) {
    return QString::fromUtf8(reinterpret_cast<const char*>(chars));
}

void check(xmlNode* node, HtmlCheck& result) {
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            // Text, comments and the like hold no markup; anything else (a processing
            // instruction, a doctype) has no place in a page's part.
            if (node->type != XML_TEXT_NODE && node->type != XML_COMMENT_NODE &&
                node->type != XML_CDATA_SECTION_NODE)
                result.refused.push_back(
                    {static_cast<int>(xmlGetLineNo(node)), QStringLiteral("a declaration")});
            continue;
        }
        const int line = static_cast<int>(xmlGetLineNo(node));
        const std::string_view name(reinterpret_cast<const char*>(node->name));
        const QString tag = QStringLiteral("<%1>").arg(text(node->name));
        if (!elementAllowed(name)) {
            // What follows is checked too: the parser may have put it inside.
            result.refused.push_back({line, tag});
            check(node->children, result);
            continue;
        }
        for (xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
            const std::string_view attributeName(reinterpret_cast<const char*>(attribute->name));
            const std::unique_ptr<xmlChar, decltype(xmlFree)> value(
                xmlNodeListGetString(node->doc, attribute->children, 1), xmlFree);
            const QString shown = text(attribute->name);
            const QString written = value ? text(value.get()) : QString();
            if (!attributeAllowed(name, attributeName)) {
                result.refused.push_back(
                    {line, QStringLiteral("the attribute %1 on %2").arg(shown, tag)});
            } else if (const QString problem = valueProblem(name, attributeName, written);
                       !problem.isEmpty()) {
                result.refused.push_back(
                    {line, QStringLiteral("the %1 %2 on %3").arg(shown, problem, tag)});
            } else if (name == "img" && attributeName == "src") {
                result.pictures.emplace_back(line, written);
            }
        }
        check(node->children, result);
    }
}

} // namespace

HtmlCheck checkHtml(const QByteArray& html) {
    HtmlCheck result;
    if (html.trimmed().isEmpty()) return result;
    // A fragment: no <html> or <body> is implied, so one written is the author's own.
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        htmlReadMemory(html.constData(), static_cast<int>(html.size()), nullptr, "UTF-8",
                       HTML_PARSE_NOIMPLIED | HTML_PARSE_NODEFDTD | HTML_PARSE_NOERROR |
                           HTML_PARSE_NOWARNING | HTML_PARSE_NONET),
        &xmlFreeDoc);
    if (doc) check(doc->children, result);
    return result;
}

} // namespace corvane::make
