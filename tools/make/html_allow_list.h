// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace corvane::make {

// The HTML an author may write into a test page: text, headings, paragraphs and line breaks,
// lists, tables, emphasis, sup/sub, span/div, quotes and code, <img>, drawings of shapes and
// words (<svg> with rect, circle, path, text ...) and the maths element <x-equation type>, with
// the few attributes these need, none with url(), and a style only of plain properties (no
// functions but colours and calc()). Anything else - scripts, event attributes, frames,
// objects, forms, meta, link, base, style elements, an <svg>'s <image>, <use> or
// <foreignObject>, addresses in any attribute but a picture's src - is refused. Our own
// generated markup is trusted and not checked here.

// One thing the HTML holds that a page may not: its line in the checked text (1 the first)
// and what it is, e.g. "<script>" or "the attribute onload on <svg>".
struct HtmlRefusal {
    int line = 0;
    QString what;
};

struct HtmlCheck {
    std::vector<HtmlRefusal> refused;
    // Each <img>'s src (entities decoded) with its line: the picture check judges these.
    std::vector<std::pair<int, QString>> pictures;
};

// Parses `html` (UTF-8, a fragment as written) with libxml2's HTML parser and checks every
// element and attribute against the allow-list.
HtmlCheck checkHtml(const QByteArray& html);

} // namespace corvane::make
