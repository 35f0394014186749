// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make/pages.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace corvane::make {

// A formula KaTeX refused: its TeX as written and the reason in plain words.
struct MathsFault {
    QString tex;
    QString reason;
};

struct TypesetHtml {
    QByteArray html;
    std::vector<MathsFault> faults;
};

// Typesets the maths of made pages with KaTeX, run in a JavaScript engine of its own (no page,
// no browser, nothing to reach): md4c's <x-equation> spans become KaTeX's HTML and MathML in a
// span whose aria-label is the formula's spoken form. The engine is loaded on the first
// formula and kept for every page of the run.
class MathsTypesetter {
  public:
    MathsTypesetter();
    ~MathsTypesetter();
    MathsTypesetter(const MathsTypesetter&) = delete;
    MathsTypesetter& operator=(const MathsTypesetter&) = delete;

    // `html` with every <x-equation> typeset; a formula that cannot be typeset stays as its
    // TeX, and a fault says why.
    TypesetHtml typeset(const QByteArray& html);

  private:
    struct Engine;
    std::unique_ptr<Engine> engine_;
};

// A formula that typeset() wrote into a page: where its span lies in the HTML and the formula
// as the source writes it ("$\\frac{1}{2}$", "$$5^2$$").
struct TypesetSpan {
    qsizetype start = 0;
    qsizetype end = 0;
    QString markdown;
};
std::vector<TypesetSpan> typesetSpans(const QString& html);

// The formula's spoken form for screen readers and read-aloud.
QString spokenFormula(const QString& tex);

// KaTeX's style sheet (katex/katex.css) and the fonts it names (katex/fonts/*.woff2), for the
// page folder of a test whose pages hold maths. `problem` tells when they cannot be read.
std::vector<PageFile> mathsStyleFiles(QString& problem);

// The link from a page's <head> to the style sheet of mathsStyleFiles().
QByteArray mathsStyleLink();

} // namespace corvane::make
