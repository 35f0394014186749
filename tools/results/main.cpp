// SPDX-License-Identifier: GPL-3.0-or-later
// corvane-results: the class summary of the records that the program saves in its results
// folder, as text, as CSV for a spreadsheet, or as one HTML page.

#include "core/settings_file.h"
#include "tools/results/folder.h"
#include "tools/results/library_tests.h"
#include "tools/results/reports.h"
#include "tools/results/summary.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

using namespace corvane::results;
using corvane::readToolSettings;

namespace {

constexpr int kOk = 0;
constexpr int kSkipped = 1;
constexpr int kBadArguments = 2;

const char* const kUsage = "usage: corvane-results [--csv] [--html FILE] [FOLDER]\n"
                           "  FOLDER  the records' folder (default: results/folder of "
                           "corvane-maths.ini)\n";

struct Options {
    QString folder;
    bool csv = false;
    QString html;
    QString problem; // what is wrong with the arguments; empty when they are fine
};

int usageError(const QString& problem) {
    QTextStream(stderr) << "corvane-results: " << problem << "\n" << kUsage;
    return kBadArguments;
}

Options parseArguments(QStringList args) {
    Options options;
    while (!args.isEmpty() && options.problem.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--csv"))
            options.csv = true;
        else if (arg == QLatin1String("--html") && !args.isEmpty() &&
                 !args.first().startsWith(QLatin1Char('-')))
            options.html = args.takeFirst();
        else if (arg == QLatin1String("--html"))
            options.problem = QStringLiteral("--html needs a FILE");
        else if (arg.startsWith(QLatin1Char('-')))
            options.problem = QStringLiteral("unknown option %1").arg(arg);
        else if (!options.folder.isEmpty())
            options.problem = QStringLiteral("only one FOLDER, please");
        else
            options.folder = arg;
    }
    if (!options.problem.isEmpty()) return options;
    if (options.folder.isEmpty())
        options.folder = readToolSettings("corvane-results").resultsFolder;
    if (options.folder.isEmpty())
        options.problem = QStringLiteral("no FOLDER given, and corvane-maths.ini names none");
    else if (!QFileInfo(options.folder).isDir())
        options.problem = QStringLiteral("%1 is not a folder").arg(options.folder);
    return options;
}

// Through a temporary name and a rename: the page is whole or not there.
bool writePage(const QString& path, const QString& html) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(html.toUtf8()) >= 0 && file.commit())
        return true;
    QTextStream(stderr) << "corvane-results: cannot write " << path << ": " << file.errorString()
                        << "\n";
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        QTextStream(stdout) << kUsage;
        return kOk;
    }
    const Options options = parseArguments(args);
    if (!options.problem.isEmpty()) return usageError(options.problem);

    const FolderRecords found = readRecordsIn(options.folder);
    QTextStream err(stderr);
    for (const Skipped& skipped : found.skipped)
        err << skipped.path << ": " << skipped.reason << ", skipped\n";
    err.flush();

    // Questions are headed from the library beside the program, as the pupil's window finds it.
    std::vector<TestSummary> tests = summarise(found.records);
    addHeadings(tests, LibraryTests(QCoreApplication::applicationDirPath() + "/test"));
    if (options.csv) {
        const QByteArray csv = csvReport(tests);
        std::fwrite(csv.constData(), 1, static_cast<std::size_t>(csv.size()), stdout);
    } else if (tests.empty()) {
        QTextStream(stdout) << "No records in " << options.folder << "\n";
    } else {
        QTextStream(stdout) << textReport(tests);
    }
    if (!options.html.isEmpty() && !writePage(options.html, htmlReport(tests)))
        return kBadArguments;
    return found.skipped.empty() ? kOk : kSkipped;
}
