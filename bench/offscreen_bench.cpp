// SPDX-License-Identifier: GPL-3.0-or-later
// Figures that need no real browser, measured on the offscreen platform with the fake desktop:
// loading a 30-question test, moving to the next question, marking, and Finish with the class
// record on a local folder beside Finish without it.
#include "bench/fixture.h"
#include "bench/report.h"
#include "core/marking_rules.h"
#include "core/reader.h"
#include "platform/file_results_folder.h"
#include "platform/ini_settings.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "pupil/record_keeper.h"
#include "support/fake_seams.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

#include <fcntl.h>
#include <unistd.h>

using namespace corvane;
using namespace corvane::bench;

namespace {

// The reference for loading: the file's bytes read into memory and nothing more.
void readBytes(const std::string& path, std::vector<char>& buffer) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) qFatal("cannot open %s", path.c_str());
    buffer.resize(64 * 1024);
    std::size_t used = 0;
    ssize_t got = 0;
    while ((got = ::read(fd, buffer.data() + used, buffer.size() - used)) > 0)
        used += static_cast<std::size_t>(got);
    buffer.resize(used);
    ::close(fd);
}

void measureLoading(TForm1& form) {
    constexpr int kRuns = 400;
    std::vector<double> load, reader, bytes;
    std::vector<char> buffer;
    QuestionStore scratch;
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        readBytes(form.testFilePath, buffer);
        bytes.push_back(millisecondsSince(start) * 1000);
        start = Clock::now();
        readTestFile(form.testFilePath, scratch);
        reader.push_back(millisecondsSince(start) * 1000);
        start = Clock::now();
        form.loadfile();
        load.push_back(millisecondsSince(start) * 1000);
    }
    printFigure("load_test_loadfile", median(load), "us", "read file bytes", median(bytes),
                "<= 3 x reference");
    printFigure("load_test_reader_only", median(reader), "us", "read file bytes", median(bytes),
                "(information)");
}

// Next from question k to k + 1, until the strip below the page (answer panel, caption and
// buttons) is painted.
void measureNext(TForm1& form) {
    constexpr int kRounds = 20;
    const QRect strip(0, 481, form.QuestionPanel->width(), form.QuestionPanel->height() - 481);
    std::vector<double> moves;
    for (int round = 0; round < kRounds; ++round) {
        form.IRewMouseDown(form.IRew, Qt::LeftButton, {}, 0, 0);
        QApplication::processEvents();
        for (int k = 1; k < form.store.questionCount; ++k) {
            const auto start = Clock::now();
            QTest::mousePress(form.INext, Qt::LeftButton, {}, {5, 5});
            form.QuestionPanel->repaint(strip);
            moves.push_back(millisecondsSince(start));
            QTest::mouseRelease(form.INext, Qt::LeftButton, {}, {5, 5});
            QApplication::processEvents();
        }
    }
    if (form.currentQuestion != form.store.questionCount) qFatal("Next did not reach the end");
    printFigure("next_question_panel", median(moves), "ms", "(none)", 0, "< 2 ms");
}

void measureMarking(TForm1& form) {
    constexpr int kBatches = 200;
    constexpr int kCalls = 1000;
    answerAll(form.store);
    RightFlags right;
    std::int32_t score = 0;
    std::vector<double> perCall;
    for (int batch = 0; batch < kBatches; ++batch) {
        const auto start = Clock::now();
        for (int call = 0; call < kCalls; ++call)
            markAll(form.store, right, score);
        perCall.push_back(millisecondsSince(start) * 1000 / kCalls);
    }
    if (score != form.store.questionCount) qFatal("marking gave %d right", score);
    printFigure("mark_all_30", median(perCall), "us", "(none)", 0, "< 50 us");

    std::vector<double> finish;
    for (int run = 0; run < 50; ++run) {
        form.currentQuestion = 1;
        const auto start = Clock::now();
        form.IFinishClick(form.IFinish);
        finish.push_back(millisecondsSince(start) * 1000);
    }
    printFigure("finish_click_30", median(finish), "us", "(none)", 0,
                "(information: marking + results screen)");
}

// Finish alternately without the settings file and with one naming a local folder; the save
// itself runs off the window's thread and is waited for outside the timing.
void measureFinishWithRecord(TForm1& form, const QString& programFolder) {
    constexpr int kRuns = 100;
    const QString ini = programFolder + "/corvane-maths.ini";
    const QDir results(programFolder + "/results");
    results.mkpath(".");
    std::vector<double> without, with;
    for (int run = 0; run < kRuns; ++run) {
        for (const bool on : {false, true}) {
            QFile::remove(ini);
            QFile settings(ini);
            if (on && !(settings.open(QIODevice::WriteOnly) &&
                        settings.write("[results]\nfolder=results\n") > 0))
                qFatal("cannot write %s", qPrintable(ini));
            settings.close();
            form.currentQuestion = 1;
            const auto start = Clock::now();
            form.IFinishClick(form.IFinish);
            (on ? with : without).push_back(millisecondsSince(start) * 1000);
            while (form.recordKeeper().saving())
                QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
    }
    QFile::remove(ini);
    if (results.entryList(QDir::Files).size() != kRuns) qFatal("not every record was saved");
    printFigure("finish_click_record", median(with), "us", "Finish without the record",
                median(without), "< reference + 1000 us");
}

} // namespace

// offscreen_bench                           prints the figures
// offscreen_bench --write-test FOLDER PAGE  writes the 30-question test into FOLDER and ends
int main(int argc, char* argv[]) {
    if (argc == 4 && std::strcmp(argv[1], "--write-test") == 0) {
        writeThirtyQuestionTest(QFile::decodeName(argv[2]), QFile::decodeName(argv[3]));
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerFontSubstitutes();

    QTemporaryDir dir;
    const QString testFile =
        writeThirtyQuestionTest(dir.path() + "/test", QStringLiteral(CORVANE_SAMPLE_PAGE));
    testing::FakeDesktop desktop;
    desktop.display.size = {800, 600};
    desktop.programFolder.folder = QFile::encodeName(dir.path()).toStdString();
    // The real settings file and results folder, so that Finish with the record costs what it
    // costs in the program; without the file they do nothing.
    IniSettings settings(desktop.programFolder);
    FileResultsFolder results;
    TForm1 form({desktop.dialogs, desktop.browsers, desktop.display, desktop.documents,
                 desktop.programFolder, desktop.printer, settings, results});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) qFatal("the window was not shown");
    QApplication::processEvents();

    form.testFilePath = QFile::encodeName(testFile).toStdString();
    measureLoading(form);

    form.testPageFolder = QFile::encodeName(dir.path() + "/test/" + kBenchTestName).toStdString();
    form.EStartName->setText("Ann");
    form.IStartOkClick(form.IStartOk);
    form.ClickStartClick(form.ClickStart);
    QApplication::processEvents();
    measureNext(form);
    measureMarking(form);
    measureFinishWithRecord(form, dir.path());
    return 0;
}
