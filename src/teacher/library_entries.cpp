// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/library_entries.h"
#include "teacher/wording.h"

#include "core/library.h"
#include "core/reader.h"
#include "tools/check/library_checks.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>

namespace corvane::teacher {

namespace {

void describeFindings(const check::Findings& findings, LibraryEntry& entry) {
    const auto errors = std::count_if(findings.begin(), findings.end(), [](const auto& f) {
        return f.severity == check::Severity::Error;
    });
    const auto warnings = static_cast<qsizetype>(findings.size()) - errors;
    entry.hasErrors = errors > 0;
    entry.state = errors > 0     ? counted(errors, "error", "errors")
                  : warnings > 0 ? counted(warnings, "warning", "warnings")
                                 : QStringLiteral("OK");
    const auto first = std::find_if(findings.begin(), findings.end(), [&](const auto& f) {
        return errors == 0 || f.severity == check::Severity::Error;
    });
    if (first != findings.end()) entry.firstProblem = first->explanation;
}

} // namespace

std::vector<LibraryEntry> libraryEntries(const QString& library, const QString& sourceFolder) {
    const std::vector<check::NativePath> files = check::testFilesIn(check::nativePath(library));
    std::vector<LibraryEntry> entries;
    for (const check::NativePath& file : files) {
        LibraryEntry entry;
        entry.testFile = file;
        entry.name = shownName(removeTxt(std::filesystem::path(file).filename().native()));
        check::Findings findings = check::checkTestFile(file);
        for (check::Finding& clash : check::checkNameClashes(file, files))
            findings.push_back(std::move(clash));
        describeFindings(findings, entry);
        const QString source = QDir(sourceFolder).filePath(entry.name + QStringLiteral(".md"));
        if (QFileInfo::exists(source)) entry.sourceFile = source;
        QuestionStore store;
        try {
            readTestFile(file, store);
            entry.questionCount = store.questionCount;
        } catch (const std::exception&) {
            entry.questionCount = -1;
        }
        entry.lastChange =
            QFileInfo(QFile::decodeName(QByteArray::fromStdString(file))).lastModified();
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace corvane::teacher
