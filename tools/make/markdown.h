#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace corvane::make {

// Markdown (UTF-8) as HTML: paragraphs, emphasis, lists, tables, pictures, raw HTML.
QByteArray markdownHtml(const QString& markdown);

// One line of Markdown as HTML without the paragraph around it (a heading, an option).
QByteArray inlineHtml(const QString& markdown);

// The addresses of the pictures the Markdown shows, as written (percent escapes decoded).
QStringList picturesIn(const QString& markdown);

} // namespace corvane::make
