// SPDX-License-Identifier: GPL-3.0-or-later
// corvane-check: finds the mistakes in test files that load without an error but spoil a
// question, dumps a loaded test as JSON, and marks a set of answers against a test.

#include "core/app_error.h"
#include "core/library.h"
#include "core/reader.h"
#include "core/settings_check.h"
#include "core/settings_file.h"
#include "tools/check/dump.h"
#include "tools/check/library_checks.h"
#include "tools/check/mark.h"
#include "tools/check/report.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <filesystem>

using namespace corvane;
using namespace corvane::check;

namespace {

constexpr int kOk = 0;
constexpr int kFound = 1;
constexpr int kBadArguments = 2;

const char* const kUsage =
    "usage: corvane-check [PATH...]         check test files and folders of them\n"
    "                                       (default: the library of corvane-maths.ini)\n"
    "       corvane-check --dump FILE       print the loaded test as JSON\n"
    "       corvane-check --mark FILE ANSWERS\n"
    "                                       mark one answer line per question\n"
    "       corvane-check --settings        check this computer's settings and their folders\n";

int usageError(const QString& problem) {
    QTextStream(stderr) << "corvane-check: " << problem << "\n" << kUsage;
    return kBadArguments;
}

bool isFolder(const NativePath& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(path, ignored);
}

int checkPaths(const std::vector<NativePath>& paths) {
    QTextStream out(stdout);
    bool errors = false;
    for (const NativePath& path : paths) {
        const bool folder = isFolder(path);
        const NativePath around =
            folder ? path : std::filesystem::path(path).parent_path().native();
        std::vector<NativePath> siblings;
        try {
            siblings = testFilesIn(around.empty() ? "." : around);
        } catch (const AppError& error) {
            if (folder) {
                out << shownName(path) << ": the folder cannot be read: \"" << error.what()
                    << "\"\n";
                errors = true;
                continue;
            }
        }
        const std::vector<NativePath> files = folder ? siblings : std::vector{path};
        if (folder && files.empty()) out << shownName(path) << ": no test files (*.txt)\n";
        for (const NativePath& file : files) {
            Findings findings = checkTestFile(file);
            for (Finding& clash : checkNameClashes(file, siblings))
                findings.push_back(std::move(clash));
            errors = errors || hasErrors(findings);
            out << formatReport(shownName(file), findings);
        }
    }
    return errors ? kFound : kOk;
}

int dump(const NativePath& path) {
    bool loaded = false;
    const QByteArray json = dumpTestFile(path, loaded);
    std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
    return loaded ? kOk : kFound;
}

int mark(const NativePath& testPath, const NativePath& answersPath) {
    const std::optional<std::string> answers = fileBytes(answersPath);
    if (!answers) return usageError(QStringLiteral("cannot read %1").arg(shownName(answersPath)));
    QuestionStore store;
    QTextStream out(stdout);
    try {
        readTestFile(testPath, store);
    } catch (const AppError& error) {
        out << shownName(testPath) << ": loading fails with \"" << error.what() << "\"\n";
        return kFound;
    }
    const QString problem = enterAnswers(store, answerLinesOf(QByteArray::fromStdString(*answers)));
    if (!problem.isEmpty()) return usageError(problem);
    const MarkReport report = markStore(store);
    for (const QString& verdict : report.verdicts)
        out << verdict << "\n";
    if (!report.failure.isEmpty()) {
        out << report.failure << "\n";
        return kFound;
    }
    out << report.scoreLine << "\n";
    return kOk;
}

// The effective settings, each with the file and line that gave it, then every problem.
int checkSettings() {
    const ProgramSettings settings = readProgramSettings(QCoreApplication::applicationDirPath());
    QTextStream out(stdout);
    QStringList files = settings.dropIns;
    if (!settings.file.isEmpty()) files.prepend(settings.file);
    out << "Settings files: " << (files.isEmpty() ? QStringLiteral("none") : files.join(", "))
        << "\n";
    const auto show = [&](const char* key, const QString& value) {
        const auto place = settings.places.find(QString::fromLatin1(key));
        out << "  " << QString::fromLatin1(key).leftJustified(24) << value;
        if (place != settings.places.end())
            out << "  (" << place->second.file << " line " << place->second.line << ")";
        out << "\n";
    };
    const QString samples = QCoreApplication::applicationDirPath() + QStringLiteral("/test");
    show("library/folder", settings.libraryFolder.isEmpty()
                               ? QStringLiteral("the samples, %1").arg(samples)
                               : settings.libraryFolder);
    show("library/samples", settings.librarySamples ? QStringLiteral("yes") : QStringLiteral("no"));
    show("results/folder", settings.resultsFolder.isEmpty()
                               ? QStringLiteral("off: nothing is written")
                               : settings.resultsFolder);
    show("display/offer", settings.displayOffer == DisplayOffer::Ask ? QStringLiteral("ask")
                                                                     : QStringLiteral("never"));
    show("review/password_sha256", settings.reviewPasswordSha256.isEmpty()
                                       ? QStringLiteral("the built-in password")
                                       : QStringLiteral("the school's own password"));
    const std::vector<SettingsProblem> problems = settingsProblems(settings);
    for (const SettingsProblem& problem : problems)
        out << describeProblem(settings, problem) << "\n";
    out << (problems.empty() ? QStringLiteral("No problems.")
                             : QStringLiteral("%1 problem(s).").arg(problems.size()))
        << "\n";
    return problems.empty() ? kOk : kFound;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Paths are taken as the bytes given, so that any file name can be checked.
    std::vector<NativePath> args(argv + 1, argv + argc);
    const auto given = [&](const char* option) {
        return std::find(args.begin(), args.end(), option) != args.end();
    };
    if (given("--help") || given("-h")) {
        QTextStream(stdout) << kUsage;
        return kOk;
    }
    const NativePath mode = args.empty() ? NativePath() : args.front();
    if (mode == "--settings")
        return args.size() == 1 ? checkSettings() : usageError("--settings takes no file");
    const int wanted = mode == "--dump" ? 1 : mode == "--mark" ? 2 : -1;
    if (wanted > 0) args.erase(args.begin());
    if (wanted > 0 && static_cast<int>(args.size()) != wanted)
        return usageError(
            QStringLiteral("%1 takes %2 file(s)").arg(QString::fromStdString(mode)).arg(wanted));
    if (wanted < 0 && args.empty())
        for (const QString& folder :
             testFolders(readToolSettings("corvane-check"), QCoreApplication::applicationDirPath()))
            args.push_back(nativePath(folder));
    for (const NativePath& arg : args) {
        std::error_code ignored;
        if (arg.starts_with('-'))
            return usageError(QStringLiteral("unknown option %1").arg(shownName(arg)));
        if (!std::filesystem::exists(arg, ignored))
            return usageError(QStringLiteral("no such file or folder: %1").arg(shownName(arg)));
        if (wanted > 0 && isFolder(arg))
            return usageError(QStringLiteral("%1 is a folder, not a file").arg(shownName(arg)));
    }
    if (wanted == 1) return dump(args[0]);
    if (wanted == 2) return mark(args[0], args[1]);
    return checkPaths(args);
}
