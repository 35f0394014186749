#pragma once

#include "tools/check/finding.h"

#include <QString>
#include <QStringList>

namespace corvane::check {

// The test files of a folder as the program lists them: entries named *.txt in any letter
// case, folders too, sorted without regard to case; full paths.
QStringList testFilesIn(const QString& folder);

// The test's page folder: the test file's path with every ".txt" removed.
QString pageFolderOf(const QString& testFilePath);

// Missing front.htm and question1.htm .. questionN.htm pages (N = the question count, at most
// 30); a missing page folder is one finding.
Findings checkPages(const QString& testFilePath, int questionCount);

// Other tests in `siblings` whose names differ from this one's only in letter case: on the
// pupils' Windows machines they are one file and one page folder.
Findings checkNameClashes(const QString& testFilePath, const QStringList& siblings);

// Every check of one test file: opening it, its content, and its pages.
Findings checkTestFile(const QString& path);

} // namespace corvane::check
