// corvane-results: the class summary of the records that the program saves in its results
// folder, as text, as CSV for a spreadsheet, or as one HTML page.

#include "tools/results/folder.h"
#include "tools/results/reports.h"
#include "tools/results/summary.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <optional>

using namespace corvane::results;

namespace {

constexpr int kOk = 0;
constexpr int kSkipped = 1;
constexpr int kBadArguments = 2;

const char* const kUsage = "usage: corvane-results [--csv] [--html FILE] FOLDER\n";

struct Options {
    QString folder;
    bool csv = false;
    QString html;
};

int usageError(const QString& problem) {
    QTextStream(stderr) << "corvane-results: " << problem << "\n" << kUsage;
    return kBadArguments;
}

// The options, or the problem with them.
std::optional<Options> parseArguments(QStringList args, QString& problem) {
    Options options;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--csv")) {
            options.csv = true;
        } else if (arg == QLatin1String("--html")) {
            if (args.isEmpty())
                return problem = QStringLiteral("--html needs a FILE"), std::nullopt;
            options.html = args.takeFirst();
        } else if (arg.startsWith(QLatin1Char('-'))) {
            return problem = QStringLiteral("unknown option %1").arg(arg), std::nullopt;
        } else if (!options.folder.isEmpty()) {
            return problem = QStringLiteral("only one FOLDER, please"), std::nullopt;
        } else {
            options.folder = arg;
        }
    }
    if (options.folder.isEmpty()) return problem = QStringLiteral("no FOLDER given"), std::nullopt;
    if (!QFileInfo(options.folder).isDir())
        return problem = QStringLiteral("%1 is not a folder").arg(options.folder), std::nullopt;
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
    QString problem;
    const std::optional<Options> options = parseArguments(args, problem);
    if (!options) return usageError(problem);

    const FolderRecords found = readRecordsIn(options->folder);
    QTextStream err(stderr);
    for (const Skipped& skipped : found.skipped)
        err << skipped.path << ": " << skipped.reason << ", skipped\n";
    err.flush();

    const std::vector<TestSummary> tests = summarise(found.records);
    if (options->csv) {
        const QByteArray csv = csvReport(tests);
        std::fwrite(csv.constData(), 1, static_cast<std::size_t>(csv.size()), stdout);
    } else if (tests.empty()) {
        QTextStream(stdout) << "No records in " << options->folder << "\n";
    } else {
        QTextStream(stdout) << textReport(tests);
    }
    if (!options->html.isEmpty() && !writePage(options->html, htmlReport(tests)))
        return kBadArguments;
    return found.skipped.empty() ? kOk : kSkipped;
}
