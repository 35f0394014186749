// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/library_checks.h"

#include "core/app_error.h"
#include "core/library.h"
#include "core/line_source.h"
#include "core/reader.h"
#include "tools/check/content_checks.h"

#include <QFile>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace corvane::check {

namespace {

namespace fs = std::filesystem;

std::string fileNameOf(const NativePath& path) {
    return fs::path(path).filename().native();
}

QString testNameOf(const NativePath& path) {
    return shownName(removeTxt(fileNameOf(path)));
}

Finding missingPage(int question, const QString& what) {
    return {FindingKind::MissingPage,
            Severity::Error,
            0,
            question,
            QStringLiteral("%1 is missing, so the pupil sees no page there.").arg(what),
            QStringLiteral("Add the page to the test's page folder.")};
}

// The question count of a file that loads, or nothing.
std::optional<int> loadedCount(const NativePath& path) {
    QuestionStore store;
    try {
        readTestFile(path, store);
    } catch (const AppError&) {
        return std::nullopt;
    }
    return std::min(store.questionCount, kMaxQuestions);
}

} // namespace

NativePath nativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::optional<std::string> fileBytes(const NativePath& path) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(file), {}};
    if (!file.is_open() || file.bad()) return std::nullopt;
    return bytes;
}

std::vector<NativePath> testFilesIn(const NativePath& folder) {
    std::vector<TestEntry> entries = listTestEntries(folder);
    // Names the list holds equal (A.txt, a.txt) go in byte order, so that reports are the same
    // on every run.
    std::sort(entries.begin(), entries.end(), [](const TestEntry& a, const TestEntry& b) {
        if (listsBefore(a.shown, b.shown)) return true;
        return !listsBefore(b.shown, a.shown) && a.fileName < b.fileName;
    });
    std::vector<NativePath> paths;
    for (const TestEntry& entry : entries)
        paths.push_back((fs::path(folder) / entry.fileName).native());
    return paths;
}

NativePath pageFolderOf(const NativePath& testFilePath) {
    return removeTxt(testFilePath);
}

Findings checkPages(const NativePath& testFilePath, int questionCount) {
    const fs::path folder = pageFolderOf(testFilePath);
    std::error_code ignored;
    if (!fs::is_directory(folder, ignored))
        return {missingPage(0, QStringLiteral("The page folder %1").arg(shownName(folder)))};
    Findings findings;
    if (!fs::exists(folder / "front.htm", ignored))
        findings.push_back(missingPage(0, QStringLiteral("The front page front.htm")));
    for (int q = 1; q <= questionCount; ++q) {
        const std::string name = "question" + std::to_string(q) + ".htm";
        if (!fs::exists(folder / name, ignored))
            findings.push_back(
                missingPage(q, QStringLiteral("The page %1").arg(QString::fromStdString(name))));
    }
    return findings;
}

Findings checkNameClashes(const NativePath& testFilePath, const std::vector<NativePath>& siblings) {
    const QString name = testNameOf(testFilePath);
    Findings findings;
    for (const NativePath& other : siblings) {
        const QString otherName = testNameOf(other);
        if (otherName != name && otherName.compare(name, Qt::CaseInsensitive) == 0)
            findings.push_back(
                {FindingKind::DuplicateName, Severity::Error, 0, 0,
                 QStringLiteral("The test %1 differs from %2 only in letter case; "
                                "on Windows they are the same file and the same "
                                "page folder.")
                     .arg(shownName(fileNameOf(testFilePath)), shownName(fileNameOf(other))),
                 QStringLiteral("Rename one of them.")});
    }
    return findings;
}

Findings checkTestFile(const NativePath& path) {
    try {
        TestFileLines probe(path);
    } catch (const AppError& error) {
        return {{FindingKind::LoadFailure, Severity::Error, 0, 0,
                 QStringLiteral("The file cannot be opened: \"%1\".").arg(error.what()),
                 QString()}};
    }
    const std::optional<std::string> bytes = fileBytes(path);
    if (!bytes)
        return {{FindingKind::LoadFailure, Severity::Error, 0, 0,
                 QStringLiteral("The file cannot be read."), QString()}};
    Findings findings = checkContent(*bytes);
    if (const auto count = loadedCount(path))
        for (Finding& page : checkPages(path, *count))
            findings.push_back(std::move(page));
    return findings;
}

} // namespace corvane::check
