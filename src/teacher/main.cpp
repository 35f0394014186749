// SPDX-License-Identifier: GPL-3.0-or-later
// corvane-teacher: the teacher's window. Writes, checks and tries tests of the library, and
// shows the class's results.
//   corvane-teacher [SOURCE.md | QUIZ.gift | TEST.txt | RESULTS-FOLDER]
#include "platform/desktop.h"
#include "platform/file_results_folder.h"
#include "platform/ini_settings.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_report_printer.h"
#include "platform/qt_speech.h"
#include "platform/screen_display_modes.h"
#include "platform/web_browser_view.h"
#include "pupil/fonts.h"
#include "teacher/library_folder.h"
#include "teacher/results_page.h"
#include "teacher/teacher_window.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

int main(int argc, char* argv[]) {
    corvane::WebBrowserViews::prepareEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane Maths for Teachers"));
    QApplication::setDesktopFileName(QStringLiteral("org.corvane.Teacher"));
    corvane::registerFontSubstitutes();

    corvane::QtDialogs dialogs;
    corvane::WebBrowserViews browsers(corvane::WebBrowserViews::besideProgram());
    corvane::DesktopDocuments documents;
    corvane::QtReportPrinter printer;
    corvane::FileResultsFolder results;
    // The preview brings its own display, program folder and settings.
    corvane::ScreenDisplayModes display;
    corvane::ExecutableFolder folder;
    corvane::IniSettings settings(folder);
    // The preview reads its pages aloud as the pupil's window does.
    corvane::QtSpeech speech;
    const corvane::Seams desktop{dialogs, browsers, display, documents, folder,
                                 printer, settings, results, &speech};
    // Taken from the folder the program was started in: the preview changes the working folder.
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString named =
        args.isEmpty() ? QString() : QDir::current().absoluteFilePath(args.front());
    corvane::teacher::TeacherWindow window(desktop, corvane::teacher::libraryFolder(), &browsers);
    dialogs.setOwner(&window);
    printer.setOwner(&window);

    auto* resultsPage = new corvane::teacher::ResultsPage(&window);
    resultsPage->setLibrary(corvane::teacher::libraryFolder());
    window.addPage(resultsPage, QObject::tr("&Results"));
    const bool namedFolder = !named.isEmpty() && QFileInfo(named).isDir();
    const QString resultsFolder =
        namedFolder ? named : corvane::teacher::ResultsPage::startFolder();
    if (!resultsFolder.isEmpty()) resultsPage->openFolder(resultsFolder);

    window.show();
    if (namedFolder)
        window.showPage(resultsPage);
    else if (!named.isEmpty())
        window.openFile(named);
    else
        QTimer::singleShot(0, &window, [&window] { window.offerCrashCopy(); });
    QTimer::singleShot(0, &window, [&browsers] { browsers.warmUp(); });
    return QApplication::exec();
}
