// SPDX-License-Identifier: GPL-3.0-or-later
// For test_class_record: a pupil's window whose results folder hangs. Usage:
// finish_and_hang APPLICATION_NAME TEST_FILE. Loads the test, finishes it as the pupil Kim with
// the class record on, prints "finished" once the results screen says the record is kept on
// this computer, and waits to be killed. The application name is the
// test's, so that both keep records in the same folder.
#include "pupil/form.h"
#include "support/fake_seams.h"
#include "support/test_files.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>

using namespace corvane;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) return 2;
    QCoreApplication::setApplicationName(QString::fromLocal8Bit(argv[1]));
    QStandardPaths::setTestModeEnabled(true);

    testing::FakeDesktop desktop;
    desktop.display.size = {800, 600};
    desktop.settings.folder = "/class/4b";
    desktop.resultsFolder.delayMs = 600000;
    TForm1 form(desktop.seams());
    form.testName = "Shapes";
    form.testFilePath = argv[2];
    form.loadfile();
    form.pupilName = "Kim";
    testing::answerFive(form.store, 3);
    TForm1::showPanel(form.QuestionPanel);
    form.currentQuestion = 5;
    form.IFinishClick(nullptr);
    if (!QTest::qWaitFor([&] { return form.RecordNote->text().startsWith("Your result is kept"); }))
        return 1;
    std::puts("finished");
    std::fflush(stdout);
    return QApplication::exec();
}
