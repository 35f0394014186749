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
//
// With a folder of kept versions, every test seen in the library is kept there by its checksum
// (its test file and its questions' headings), so a version whose file was corrected or made
// again still shows its questions' words and right answers.
class LibraryTests {
  public:
    LibraryTests() = default;
    explicit LibraryTests(const QString& folder, const QString& kept = {});
    // The tests of every folder; of two files with one checksum the first folder's is taken.
    explicit LibraryTests(const std::vector<QString>& folders, const QString& kept = {});

    // The test file with this checksum, from the library or else from the kept versions; empty
    // when there is none.
    QString testFile(const QString& checksum) const;
    // True when the library itself holds the test of this checksum now.
    bool inLibrary(const QString& checksum) const { return files_.contains(checksum); }
    // The heading of question q (from 1) of that test; empty when there is none.
    QString heading(const QString& checksum, int q) const;

  private:
    void add(const QString& folder);
    void keepVersions();
    QStringList headings(const QString& checksum) const;

    QHash<QString, QString> files_;                // checksum -> test file in the library
    QString kept_;                                 // the kept versions' folder; empty: none
    mutable QHash<QString, QStringList> headings_; // checksum -> headings of questions 1..30
};

// Where the teacher's tools keep the versions of tests they have seen:
// ~/.local/share/Corvane Maths/test versions.
QString keptVersionsFolder();

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
