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

// The front page, one page per question and the shared style.css of a test source.
std::vector<PageFile> testPages(const TestSource& source);

} // namespace corvane::make
