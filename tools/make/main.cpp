// SPDX-License-Identifier: GPL-3.0-or-later
// corvane-make: makes a test (test file and page folder) from one readable source file.

#include "core/settings_file.h"
#include "platform/web_browser_view.h"
#include "tools/make/from_test.h"
#include "tools/make/gift_import.h"
#include "tools/make/make_test.h"
#include "tools/make/page_fit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTextStream>

#include <cstdio>

namespace {

constexpr int kMade = 0;
constexpr int kSourceErrors = 1;
constexpr int kBadArguments = 2;

const char* const kUsage =
    "usage: corvane-make SOURCE.md|QUIZ.gift [--out FOLDER] [--force] [--source]\n"
    "  --out FOLDER  the test library to put the test in (default: the library of\n"
    "                corvane-maths.ini)\n"
    "  --force       replace a test of the same name\n"
    "  --source      for a GIFT file: print the test source it converts to, write nothing\n"
    "       corvane-make --from-test TEST.txt\n"
    "                print a source for a test that has none, write nothing\n";

int usageError(const QString& problem) {
    QTextStream(stderr) << "corvane-make: " << problem << "\n" << kUsage;
    return kBadArguments;
}

} // namespace

int main(int argc, char* argv[]) {
    // The pages are laid out by the browser engine to check that they fit, off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    corvane::WebBrowserViews::prepareEngine();
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QStringList args = QCoreApplication::arguments().mid(1);
    corvane::make::MakeRequest request;
    request.outFolder = corvane::testFolders(corvane::readToolSettings("corvane-make"),
                                             QCoreApplication::applicationDirPath())
                            .front();
    QString sourcePath;
    bool printSource = false;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            QTextStream(stdout) << kUsage;
            return kMade;
        }
        if (arg == QLatin1String("--from-test"))
            return args.size() == 1 ? corvane::make::printSourceOfTest(args.front())
                                    : usageError(QStringLiteral("--from-test takes one test file"));
        if (arg == QLatin1String("--force"))
            request.force = true;
        else if (arg == QLatin1String("--source"))
            printSource = true;
        else if (arg == QLatin1String("--out") && args.isEmpty())
            return usageError(QStringLiteral("--out needs a folder"));
        else if (arg == QLatin1String("--out"))
            request.outFolder = args.takeFirst();
        else if (arg.startsWith(QLatin1Char('-')))
            return usageError(QStringLiteral("unknown option %1").arg(arg));
        else if (sourcePath.isEmpty())
            sourcePath = arg;
        else
            return usageError(QStringLiteral("one source at a time"));
    }
    if (sourcePath.isEmpty()) return usageError(QStringLiteral("no source named"));
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return usageError(QStringLiteral("cannot read %1").arg(sourcePath));
    request.sourceText = source.readAll();
    request.sourceName = sourcePath;
    if (sourcePath.endsWith(QLatin1String(".gift"), Qt::CaseInsensitive)) {
        std::string report;
        const std::optional<std::string> converted = corvane::make::giftSourceForMake(
            sourcePath.toStdString(), request.sourceText.toStdString(), report);
        QTextStream(stderr) << QString::fromStdString(report);
        if (!converted) return kSourceErrors;
        request.sourceText = QByteArray::fromStdString(*converted);
        request.sourceName += QStringLiteral(" (as source, see --source)");
    } else if (printSource) {
        return usageError(QStringLiteral("--source is for GIFT files"));
    }
    if (printSource) {
        std::fwrite(request.sourceText.constData(), 1, request.sourceText.size(), stdout);
        return kMade;
    }
    request.pictureFolder = QFileInfo(sourcePath).absolutePath();

    corvane::WebBrowserViews engine(corvane::WebBrowserViews::besideProgram());
    const corvane::make::MakeResult made = corvane::make::makeTestThatFits(request, engine);
    if (!made.errors.empty()) {
        QTextStream(stderr) << corvane::make::formatErrors(request.sourceName, made.errors)
                            << "Nothing was written.\n";
        return kSourceErrors;
    }
    QTextStream(stdout) << "Made " << QDir::toNativeSeparators(made.testFile) << " and "
                        << QDir::toNativeSeparators(made.pageFolder) << " (" << made.questionCount
                        << (made.questionCount == 1 ? " question)\n" : " questions)\n");
    return kMade;
}
