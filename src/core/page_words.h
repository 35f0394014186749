// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

namespace corvane {

// What a person reading a question page aloud says, in reading order: one phrase for each block
// of the page (a heading, a paragraph, a list item, a table cell, a card). A picture or a
// formula is said by its name (an <img>'s alt, or the aria-label of anything with role="img"
// or role="math"); the head, scripts,
// styles and elements hidden with aria-hidden="true" or the hidden attribute say nothing. Spaces
// are collapsed; empty blocks are left out. The page is parsed as untrusted HTML (UTF-8).
QStringList pageWords(const QByteArray& html);

} // namespace corvane
