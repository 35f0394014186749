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
#include <unistd.h>

using namespace corvane::results;
using corvane::ProgramSettings;
using corvane::readToolSettings;
using corvane::testFolders;

namespace {

constexpr int kOk = 0;
constexpr int kSkipped = 1;
constexpr int kBadArguments = 2;

const char* const kUsage =
    "usage: corvane-results [--csv] [--html FILE] [--xlsx FILE] [--attempt latest|best|first]\n"
    "                       [FOLDER]\n"
    "  FOLDER     the records' folder (default: results/folder of corvane-maths.ini)\n"
    "  --html     write the class page to FILE instead of the text summary\n"
    "  --xlsx     write a spreadsheet to FILE instead of the text summary\n"
    "  --attempt  which of a pupil's attempts counts (default: latest)\n";

struct Options {
    QString folder;
    bool csv = false;
    QString html;
    QString xlsx;
    AttemptChoice choice = AttemptChoice::Latest;
    QString problem; // what is wrong with the arguments; empty when they are fine
};

// The value after an option, or empty (and a problem) when there is none.
QString optionValue(const QString& option, QStringList& args, QString& problem) {
    if (!args.isEmpty() && !args.first().startsWith(QLatin1Char('-'))) return args.takeFirst();
    problem = QStringLiteral("%1 needs a value").arg(option);
    return {};
}

int usageError(const QString& problem) {
    QTextStream(stderr) << "corvane-results: " << problem << "\n" << kUsage;
    return kBadArguments;
}

Options parseArguments(QStringList args) {
    Options options;
    while (!args.isEmpty() && options.problem.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--csv")) {
            options.csv = true;
        } else if (arg == QLatin1String("--html")) {
            options.html = optionValue(arg, args, options.problem);
        } else if (arg == QLatin1String("--xlsx")) {
            options.xlsx = optionValue(arg, args, options.problem);
        } else if (arg == QLatin1String("--attempt")) {
            const QString word = optionValue(arg, args, options.problem);
            bool known = false;
            for (auto c : {AttemptChoice::Latest, AttemptChoice::Best, AttemptChoice::First})
                if (word == choiceWord(c)) {
                    options.choice = c;
                    known = true;
                }
            if (!known && options.problem.isEmpty())
                options.problem = QStringLiteral("--attempt is latest, best or first, not %1")
                                      .arg(printable(word));
        } else if (arg.startsWith(QLatin1Char('-'))) {
            options.problem = QStringLiteral("unknown option %1").arg(printable(arg));
        } else if (!options.folder.isEmpty()) {
            options.problem = QStringLiteral("only one FOLDER, please");
        } else {
            options.folder = arg;
        }
    }
    return options;
}

// The folders of tests whose questions head the summary: the school's library of the settings,
// and the samples beside the program.
std::vector<QString> libraryFolders(const ProgramSettings& settings) {
    return testFolders(settings, QCoreApplication::applicationDirPath());
}

QString folderProblem(Options& options, const ProgramSettings& settings) {
    if (options.folder.isEmpty()) options.folder = settings.resultsFolder;
    if (options.folder.isEmpty())
        return QStringLiteral("no FOLDER given, and corvane-maths.ini names none");
    if (!QFileInfo(options.folder).isDir())
        return QStringLiteral("%1 is not a folder").arg(printable(options.folder));
    return {};
}

// Through a temporary name and a rename: the page is whole or not there.
bool writePage(const QString& path, const QString& html) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(html.toUtf8()) >= 0 && file.commit())
        return true;
    QTextStream(stderr) << "corvane-results: cannot write " << printable(path) << ": "
                        << file.errorString() << "\n";
    return false;
}

void write(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        QTextStream(stdout) << kUsage;
        return kOk;
    }
    Options options = parseArguments(args);
    if (!options.problem.isEmpty()) return usageError(options.problem);
    const ProgramSettings settings = readToolSettings("corvane-results");
    if (const QString problem = folderProblem(options, settings); !problem.isEmpty())
        return usageError(problem);

    const FolderRecords found = readRecordsIn(options.folder);
    QString skippedText;
    for (const Skipped& skipped : found.skipped)
        skippedText += printable(skipped.path) + ": " + printable(skipped.reason) + ", skipped\n";
    write(stderr, skippedText);

    std::vector<TestSummary> tests = summarise(found.records, options.choice);
    addHeadings(tests, LibraryTests(libraryFolders(settings), keptVersionsFolder()));
    bool written = true;
    if (!options.html.isEmpty()) written = writePage(options.html, htmlReport(tests));
    if (!options.xlsx.isEmpty()) {
        const QString error = writeXlsxReport(options.xlsx, tests, options.choice);
        if (!error.isEmpty())
            write(stderr, QStringLiteral("corvane-results: cannot write %1: %2\n")
                              .arg(printable(options.xlsx), error));
        written = written && error.isEmpty();
    }
    if (options.csv) {
        const QByteArray csv = csvReport(tests);
        // A terminal is sent no control characters from the records; a pipe gets the bytes.
        if (::isatty(STDOUT_FILENO))
            write(stdout, printable(QString::fromUtf8(csv), true));
        else
            std::fwrite(csv.constData(), 1, static_cast<std::size_t>(csv.size()), stdout);
    } else if (!options.html.isEmpty() || !options.xlsx.isEmpty()) {
        // The file is the output; nothing else is printed.
    } else if (tests.empty()) {
        write(stdout, "No records in " + printable(options.folder) + "\n");
    } else {
        write(stdout, textReport(tests));
    }
    if (!written) return kBadArguments;
    return found.skipped.empty() ? kOk : kSkipped;
}
