// corvane-check: finds the mistakes in test files that load without an error but spoil a
// question, dumps a loaded test as JSON, and marks a set of answers against a test.

#include "content/app_error.h"
#include "content/reader.h"
#include "tools/check/dump.h"
#include "tools/check/library_checks.h"
#include "tools/check/mark.h"
#include "tools/check/report.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

using namespace corvane;
using namespace corvane::check;

namespace {

constexpr int kOk = 0;
constexpr int kFound = 1;
constexpr int kBadArguments = 2;

const char* const kUsage =
    "usage: corvane-check [PATH...]         check test files and folders of them\n"
    "                                       (default: the test folder beside the program)\n"
    "       corvane-check --dump FILE       print the loaded test as JSON\n"
    "       corvane-check --mark FILE ANSWERS\n"
    "                                       mark one answer line per question\n";

int usageError(const QString& problem) {
    QTextStream(stderr) << "corvane-check: " << problem << "\n" << kUsage;
    return kBadArguments;
}

int checkPaths(const QStringList& paths) {
    QTextStream out(stdout);
    bool errors = false;
    for (const QString& path : paths) {
        const bool isFolder = QFileInfo(path).isDir();
        const QStringList files = isFolder ? testFilesIn(path) : QStringList{path};
        const QStringList siblings = testFilesIn(QFileInfo(files.value(0)).absolutePath());
        if (isFolder && files.isEmpty()) out << path << ": no test files (*.txt)\n";
        for (const QString& file : files) {
            Findings findings = checkTestFile(file);
            for (Finding& clash : checkNameClashes(file, siblings))
                findings.push_back(std::move(clash));
            errors = errors || hasErrors(findings);
            out << formatReport(file, findings);
        }
    }
    return errors ? kFound : kOk;
}

int dump(const QString& path) {
    bool loaded = false;
    const QByteArray json = dumpTestFile(path, loaded);
    std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
    return loaded ? kOk : kFound;
}

int mark(const QString& testPath, const QString& answersPath) {
    QFile answers(answersPath);
    if (!answers.open(QIODevice::ReadOnly))
        return usageError(QStringLiteral("cannot read %1").arg(answersPath));
    QuestionStore store;
    QTextStream out(stdout);
    try {
        readTestFile(QFile::encodeName(testPath).toStdString(), store);
    } catch (const AppError& error) {
        out << testPath << ": loading fails with \"" << error.what() << "\"\n";
        return kFound;
    }
    const QString problem = enterAnswers(store, answerLinesOf(answers.readAll()));
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

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        QTextStream(stdout) << kUsage;
        return kOk;
    }
    const QString mode = args.value(0);
    const int wanted = mode == QLatin1String("--dump")   ? 1
                       : mode == QLatin1String("--mark") ? 2
                                                         : -1;
    if (wanted > 0) args.removeFirst();
    if (wanted > 0 && args.size() != wanted)
        return usageError(QStringLiteral("%1 takes %2 file(s)").arg(mode).arg(wanted));
    if (wanted < 0 && args.isEmpty())
        args << QCoreApplication::applicationDirPath() + QStringLiteral("/test");
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1Char('-')))
            return usageError(QStringLiteral("unknown option %1").arg(arg));
        if (!QFileInfo::exists(arg))
            return usageError(QStringLiteral("no such file or folder: %1").arg(arg));
        if (wanted > 0 && QFileInfo(arg).isDir())
            return usageError(QStringLiteral("%1 is a folder, not a file").arg(arg));
    }
    if (wanted == 1) return dump(args[0]);
    if (wanted == 2) return mark(args[0], args[1]);
    return checkPaths(args);
}
