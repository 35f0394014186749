// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

#include <string>
#include <vector>

namespace corvane::teacher {

// One test of the library as the list shows it.
struct LibraryEntry {
    std::string testFile; // as the file system holds it
    QString name;         // as the pupil's list shows it, without .txt
    QString state;        // "OK", "2 warnings", "1 error"
    QString firstProblem; // the first error's text (a warning's without errors); empty when OK
    bool hasErrors = false;
    QString sourceFile;     // its source, empty when it has none
    int questionCount = -1; // -1 when the test file does not load
    QDateTime lastChange;
};

// Every test of `library`, in the pupil list's order, with the checker's verdict on each;
// sources are looked for as NAME.md in `sourceFolder`. Throws AppError when the library
// cannot be read.
std::vector<LibraryEntry> libraryEntries(const QString& library, const QString& sourceFolder);

} // namespace corvane::teacher
