// SPDX-License-Identifier: GPL-3.0-or-later
// "Read it to me" with the real speech engine: the time from the press of the control on a
// sample question to the engine speaking, against the engine alone given the same words. A press
// as soon as the window opens, while the engine is still starting, is shown apart.
// Run it where the sound goes nowhere: tests/speech_home.sh speech_bench.
#include "bench/report.h"
#include "platform/qt_speech.h"
#include "pupil/file_list_box.h"
#include "pupil/form.h"
#include "pupil/read_aloud.h"
#include "tests/support/fake_seams.h"

#include <QApplication>
#include <QDirIterator>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextToSpeech>

using namespace corvane;
using namespace corvane::bench;

namespace {

constexpr int kRuns = 7;

bool waitFor(const std::function<bool()>& done, int ms = 10000) {
    const Clock::time_point start = Clock::now();
    while (!done() && millisecondsSince(start) < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

void copySamples(const QString& into) {
    const QDir from(QStringLiteral(CORVANE_SAMPLE_TESTS));
    QDirIterator files(from.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString copy = into + "/test/" + from.relativeFilePath(file);
        QDir().mkpath(QFileInfo(copy).path());
        QFile::copy(file, copy);
    }
}

// The engine alone, on the window's thread: say() to speaking, median of kRuns.
double engineAlone(QTextToSpeech& engine, const QString& words) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const Clock::time_point start = Clock::now();
        engine.say(words);
        if (!waitFor([&] { return engine.state() == QTextToSpeech::Speaking; })) return -1;
        times.push_back(millisecondsSince(start));
        engine.stop();
        waitFor([&] { return engine.state() == QTextToSpeech::Ready; });
    }
    return median(times);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The reference engine is started first and has long settled when it is measured.
    QTextToSpeech engine(QStringLiteral("speechd"));
    engine.setLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QTemporaryDir folder;
    copySamples(folder.path());
    testing::FakeDesktop desktop;
    desktop.programFolder.folder = QFile::encodeName(folder.path()).toStdString();
    QtSpeech speech;
    Seams seams = desktop.seams();
    seams.speech = &speech;
    TForm1 form(seams);
    form.show();
    if (!QTest::qWaitForWindowActive(&form)) return 1;
    QCoreApplication::processEvents();

    Speech::State state = Speech::State::Ready;
    QString reason;
    speech.listen(&form, [&](Speech::State now, const QString& why) {
        state = now;
        reason = why;
    });
    QTest::keyClicks(form.EStartName, "Ann");
    const QListWidgetItem* item =
        form.FileList->findItems("Money and Time.txt", Qt::MatchExactly).value(0);
    if (!item) {
        std::fprintf(stderr, "speech_bench: the sample test is not listed\n");
        return 1;
    }
    QTest::mousePress(form.FileList->viewport(), Qt::LeftButton, {},
                      form.FileList->visualItemRect(item).center());
    form.IStartOkClick(form.IStartOk);
    ImageControl* front = form.findChild<ReadAloud*>()->controls()[0];

    // A press as soon as the window is there: the engine, started with the start screen, is
    // still starting.
    Clock::time_point start = Clock::now();
    QTest::mouseClick(front, Qt::LeftButton);
    if (!waitFor([&] { return state != Speech::State::Ready; }) ||
        state == Speech::State::Unavailable) {
        std::fprintf(stderr, "speech_bench: no speech engine (%s)\n", qPrintable(reason));
        return 1;
    }
    const double first = millisecondsSince(start);
    QTest::mouseClick(front, Qt::LeftButton);
    waitFor([&] { return state == Speech::State::Ready; });

    form.leaveFrontPage();
    TForm1::showPanel(form.QuestionPanel);
    form.currentQuestion = 1;
    form.drawquestion();
    ImageControl* question = form.findChild<ReadAloud*>()->controls()[1];
    std::vector<double> presses;
    QString words;
    for (int run = 0; run < kRuns; ++run) {
        start = Clock::now();
        QTest::mouseClick(question, Qt::LeftButton);
        waitFor([&] { return state == Speech::State::Speaking; });
        presses.push_back(millisecondsSince(start));
        words = form.findChild<ReadAloud*>()->screenText();
        QTest::mouseClick(question, Qt::LeftButton);
        waitFor([&] { return state == Speech::State::Ready; });
    }
    const double alone = engineAlone(engine, words);
    printFigure("read aloud: press", median(presses), "ms", "engine alone: say", alone, "300 ms");
    printFigure("read aloud: cold start", first, "ms", "engine alone: say", alone,
                "(information: a press as the window opens; the engine starts meanwhile)");
    return 0;
}
