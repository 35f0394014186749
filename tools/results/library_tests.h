// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/results/summary.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace corvane::results {

// The tests of a library folder, found by the SHA-256 of their test file: the records name the
// file that was marked by its checksum, so a renamed or edited file is never taken for it.
class LibraryTests {
  public:
    LibraryTests() = default;
    explicit LibraryTests(const QString& folder);
    // The tests of every folder; of two files with one checksum the first folder's is taken.
    explicit LibraryTests(const std::vector<QString>& folders);

    // The test file with this checksum; empty when the library has none.
    QString testFile(const QString& checksum) const;
    // The heading of question q (from 1) of that test; empty when there is none.
    QString heading(const QString& checksum, int q) const;

  private:
    void add(const QString& folder);

    QHash<QString, QString> files_;                // checksum -> test file
    mutable QHash<QString, QStringList> headings_; // checksum -> headings of questions 1..30
};

// The first h1, h2 or h3 heading of a page, else its title, as plain text; empty when it has
// neither.
QString pageHeading(const QByteArray& html);

// The folder of a test's pages: the test file's path without ".txt", as the pupil's window
// finds it.
QString pageFolder(const QString& testFile);

// Gives every question of every test its heading from the library, and each version of a test
// whose name has more than one its label: "in the library now", "earlier version, first used
// 12 Nov".
void addHeadings(std::vector<TestSummary>& tests, const LibraryTests& library);

} // namespace corvane::results
