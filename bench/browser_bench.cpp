// SPDX-License-Identifier: GPL-3.0-or-later
// One run of a pupil with the real browser views under an X server, as the program runs it: the
// engine started after the first paint, the test picked 2 s later, 1 s of typing the name
// before OK, 1 s of reading the front page before the start image, then Next through the 30
// questions. A page counts as painted once the X server's screen shows its marker.
//   browser_bench [--no-warm-up]   without the warm-up, the engine starts at the list click
// Prints "name value" lines in milliseconds, one per sample; bench/run.sh gathers the runs.
#include "bench/fixture.h"
#include "bench/report.h"
#include "platform/web_browser_view.h"
#include "pupil/file_list_box.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>

using namespace corvane;
using namespace corvane::bench;

namespace {

void sample(const char* name, double milliseconds) {
    std::printf("%s %.3f\n", name, milliseconds);
    std::fflush(stdout);
}

// The longest time the window's thread went without running its event loop: a 1 ms timer
// that notes the widest gap between two of its ticks (less the 1 ms it waits on purpose).
class BlockWatch {
  public:
    BlockWatch() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, sinceTick_.nsecsElapsed() / 1e6 - 1);
            sinceTick_.start();
        });
        sinceTick_.start();
        timer_.start(1);
    }
    // The longest block since the last call.
    double take() { return std::exchange(longest_, 0.0); }

  private:
    QTimer timer_;
    QElapsedTimer sinceTick_;
    double longest_ = 0;
};

// Waits until the screen shows the marker of page `number` in `view` (what the X server
// holds, so the page has been painted and put on screen); returns the milliseconds since
// `start`.
double waitPainted(QWidget* view, int number, Clock::time_point start) {
    const QPoint spot = view->mapToGlobal(kMarkerSpot);
    const QColor want = pageMarker(number);
    QScreen* screen = QGuiApplication::primaryScreen();
    while (millisecondsSince(start) < 20000) {
        const QColor got =
            screen->grabWindow(0, spot.x(), spot.y(), 1, 1).toImage().pixelColor(0, 0);
        if (std::abs(got.red() - want.red()) <= 2 && std::abs(got.green() - want.green()) <= 2 &&
            std::abs(got.blue() - want.blue()) <= 2)
            return millisecondsSince(start);
        QTest::qWait(1);
    }
    qFatal("page %d was not painted within 20 s", number);
}

} // namespace

int main(int argc, char* argv[]) {
    const bool warm = !(argc > 1 && std::strcmp(argv[1], "--no-warm-up") == 0);
    WebBrowserViews::prepareEngine();
    QApplication app(argc, argv);
    registerFontSubstitutes();

    QTemporaryDir dir;
    writeThirtyQuestionTest(dir.path() + "/test", QStringLiteral(CORVANE_SAMPLE_PAGE));
    testing::FakeDesktop desktop;
    desktop.display.size = {800, 600};
    desktop.programFolder.folder = QFile::encodeName(dir.path()).toStdString();
    WebBrowserViews browsers(QStringLiteral(CORVANE_WEBENGINE_PLUGIN));
    TForm1 form({desktop.dialogs, browsers, desktop.display, desktop.documents,
                 desktop.programFolder, desktop.printer, desktop.settings, desktop.resultsFolder});
    form.move(0, 0);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) qFatal("the window was not shown");
    QApplication::processEvents();
    BlockWatch blocks;
    if (warm) browsers.warmUp();
    QTest::qWait(2000); // the pupil reads the start screen
    const double startScreenBlock = blocks.take();
    if (warm) sample("warm_up_block", startScreenBlock);

    const QRect entry = form.FileList->visualItemRect(form.FileList->item(0));
    QTest::mouseClick(form.FileList->viewport(), Qt::LeftButton, {}, entry.center());
    if (form.store.questionCount != kMaxQuestions) qFatal("the bench test was not loaded");
    QTest::keyClicks(form.EStartName, "Ann");
    QTest::qWait(1000); // the pupil types her name

    auto start = Clock::now();
    QTest::mouseClick(form.IStartOk, Qt::LeftButton);
    sample(warm ? "front_page" : "front_page_no_warm_up",
           waitPainted(WebBrowserViews::shownView(form.Front->widget()), 0, start));
    QTest::qWait(1000); // the pupil reads the front page

    start = Clock::now();
    QTest::mouseClick(form.ClickStart, Qt::LeftButton);
    sample("first_question_page",
           waitPainted(WebBrowserViews::shownView(form.Question->widget()), 1, start));

    for (int k = 2; k <= kMaxQuestions; ++k) {
        QTest::qWait(50);
        start = Clock::now();
        QTest::mousePress(form.INext, Qt::LeftButton, {}, {5, 5});
        sample("next_question_page",
               waitPainted(WebBrowserViews::shownView(form.Question->widget()), k, start));
        QTest::mouseRelease(form.INext, Qt::LeftButton, {}, {5, 5});
    }
    sample(warm ? "longest_block" : "longest_block_no_warm_up",
           std::max(startScreenBlock, blocks.take()));
    return 0;
}
