// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make/test_source.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace corvane::make {

struct PageFile {
    QString name; // within the page folder
    QByteArray bytes;
};

class MathsTypesetter;

// The front page, one page per question and the shared style.css of a test source; with maths,
// typeset by `maths`, KaTeX's style sheet and fonts too. A formula that cannot be typeset is an
// error in `errors`.
std::vector<PageFile> testPages(const TestSource& source, MathsTypesetter& maths,
                                SourceErrors& errors);

} // namespace corvane::make
