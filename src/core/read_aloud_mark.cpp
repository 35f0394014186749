// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/read_aloud_mark.h"

#include <libxml/HTMLparser.h>

#include <memory>

namespace corvane {
namespace {

QByteArray attribute(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    const QByteArray text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text.trimmed().toLower();
}

bool refusedUnder(xmlNode* node) {
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>("meta")) == 0 &&
            attribute(node, "name") == "read-aloud" && attribute(node, "content") == "no")
            return true;
        if (refusedUnder(node->children)) return true;
    }
    return false;
}

} // namespace

bool readAloudRefused(const QByteArray& frontPageHtml) {
    if (frontPageHtml.isEmpty()) return false;
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        htmlReadMemory(frontPageHtml.constData(), int(frontPageHtml.size()), nullptr, "UTF-8",
                       HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR |
                           HTML_PARSE_NOWARNING),
        &xmlFreeDoc);
    return doc && refusedUnder(xmlDocGetRootElement(doc.get()));
}

} // namespace corvane
