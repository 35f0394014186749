// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/check/finding.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace corvane::check {

// Paths here are held as the file system holds them, whatever their bytes, so that a test
// saved under a Latin-1 name is checked as the program opens it.
using NativePath = std::string;

// A path named by the toolkit, in the file system's bytes. Reports show a native path with
// shownName(), as the program's list shows names.
NativePath nativePath(const QString& path);

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> fileBytes(const NativePath& path);

// The test files of a folder as the program lists them: entries named *.txt in any letter
// case, folders too, in the list's order; full paths. Throws AppError when the folder cannot
// be read.
std::vector<NativePath> testFilesIn(const NativePath& folder);

// The test's page folder: the test file's path with every ".txt" removed.
NativePath pageFolderOf(const NativePath& testFilePath);

// Missing front.htm and question1.htm .. questionN.htm pages (N = the question count, at most
// 30); a missing page folder is one finding.
Findings checkPages(const NativePath& testFilePath, int questionCount);

// Other tests in `siblings` whose names differ from this one's only in letter case: on the
// pupils' Windows machines they are one file and one page folder.
Findings checkNameClashes(const NativePath& testFilePath, const std::vector<NativePath>& siblings);

// Every check of one test file: opening it, its content, and its pages.
Findings checkTestFile(const NativePath& path);

} // namespace corvane::check
