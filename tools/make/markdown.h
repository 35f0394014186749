// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make/html_allow_list.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace corvane::make {

// Markdown (UTF-8) as HTML: paragraphs, emphasis, lists, tables, pictures, raw HTML.
QByteArray markdownHtml(const QString& markdown);

// One line of Markdown as HTML without the paragraph around it (a heading, an option).
QByteArray inlineHtml(const QString& markdown);

// Markdown with its formulas ($..$ and $$..$$) in their plain form: "Is $\\frac{1}{2}$ more?"
// -> "Is 1/2 more?". For what shows text without typesetting it: a button's label, a measure.
QString withMathsAsPlain(QString markdown);

// The character an HTML entity such as "&frac12;" or "&#189;" stands for, from the complete
// table of HTML's named entities that md4c carries; empty when `entity` is none.
QString decodedEntity(const QString& entity);

// A picture the Markdown shows: its address (percent escapes and entities decoded) and the
// address as the source writes it.
struct PictureRef {
    QString address;
    QString written;
    int line = 0; // in the text, 1 the first; 0 when not known
};

// The pictures the Markdown shows, ![..](..) and <img src=..> alike. A picture's name may hold
// blanks: ![coin](coin one.png) shows "coin one.png".
std::vector<PictureRef> picturesIn(const QString& markdown);

// What the HTML written in the Markdown holds that a page may not (see html_allow_list.h), and
// each link (a page is not left for another), with its line in the text (1 the first).
std::vector<HtmlRefusal> refusedIn(const QString& markdown);

} // namespace corvane::make
