// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSyntaxHighlighter>

namespace corvane::teacher {

// Colours a test source: the name and question headings, options, list items, answer lines
// and maths.
class SourceHighlighter : public QSyntaxHighlighter {
  public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

  protected:
    void highlightBlock(const QString& text) override;
};

} // namespace corvane::teacher
