// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>

namespace corvane::make {

// A test source written from a test that has none: the source text (UTF-8) and what will not
// come back the same when it is made again, one note per question concerned.
struct SourceFromTest {
    QByteArray source;
    QStringList notes;
};

// Writes the source of the test file at `testFilePath` (as the file system holds it) and its
// page folder: each page's HTML is kept as a raw HTML block under the page's heading, and the
// answers come from the test file. Throws AppError when the test file cannot be read.
SourceFromTest sourceFromTest(const std::string& testFilePath);

// corvane-make --from-test: the source on standard output, the notes on standard error; the
// exit status (0, or 1 when the test file cannot be read).
int printSourceOfTest(const QString& testFilePath);

} // namespace corvane::make
