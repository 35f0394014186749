// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/page_words.h"

#include <QRegularExpression>

#include <libxml/HTMLparser.h>

#include <memory>

namespace corvane {

namespace {

bool named(const xmlNode* node, const char* name) {
    return xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

bool namedAny(const xmlNode* node, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (named(node, name)) return true;
    return false;
}

QString attribute(const xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value) return {};
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

bool hasAttribute(const xmlNode* node, const char* name) {
    return xmlHasProp(node, reinterpret_cast<const xmlChar*>(name)) != nullptr;
}

// Elements whose content forms a phrase of its own.
bool isBlock(const xmlNode* node) {
    return namedAny(node, {"p",          "h1", "h2", "h3",   "h4",         "h5",      "h6",
                           "li",         "td", "th", "div",  "blockquote", "pre",     "caption",
                           "figcaption", "dt", "dd", "main", "section",    "article", "header",
                           "footer",     "tr", "ul", "ol",   "table"});
}

class Walker {
  public:
    QStringList phrases;

    void walk(const xmlNode* node) {
        for (; node; node = node->next) {
            if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                current_ += QString::fromUtf8(reinterpret_cast<const char*>(node->content));
                continue;
            }
            if (node->type != XML_ELEMENT_NODE) continue;
            if (namedAny(node, {"head", "script", "style", "template", "noscript", "title"}) ||
                hasAttribute(node, "hidden") || attribute(node, "aria-hidden") == "true")
                continue;
            const QString role = attribute(node, "role");
            if (role == "img" || role == "math" || named(node, "img")) {
                const QString name = named(node, "img") && !hasAttribute(node, "aria-label")
                                         ? attribute(node, "alt")
                                         : attribute(node, "aria-label");
                current_ += QLatin1Char(' ') + name + QLatin1Char(' ');
                continue;
            }
            if (named(node, "br")) {
                endPhrase();
                continue;
            }
            const bool block = isBlock(node);
            if (block) endPhrase();
            walk(node->children);
            if (block) endPhrase();
        }
    }

    void endPhrase() {
        // A picture's name is set apart by spaces; punctuation after it closes up again.
        static const QRegularExpression spaceBeforeMark(QStringLiteral(" ([.,;:?!])"));
        const QString phrase =
            current_.simplified().replace(spaceBeforeMark, QStringLiteral("\\1"));
        if (!phrase.isEmpty()) phrases << phrase;
        current_.clear();
    }

  private:
    QString current_;
};

} // namespace

QStringList pageWords(const QByteArray& html) {
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                        HTML_PARSE_NONET | HTML_PARSE_NOBLANKS;
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        htmlReadMemory(html.constData(), static_cast<int>(html.size()), nullptr, "UTF-8", options),
        xmlFreeDoc);
    if (!doc) return {};
    Walker walker;
    walker.walk(xmlDocGetRootElement(doc.get()));
    walker.endPhrase();
    return walker.phrases;
}

} // namespace corvane
