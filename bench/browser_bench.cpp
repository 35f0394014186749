// Figures with the real browser views under an X server: opening the front page after the
// pupil's name, and moving to the next question until its page has loaded.
//   browser_bench --cold | --warm   --warm starts the engine ahead, as the program does after
//                                   its first paint
#include "bench/fixture.h"
#include "bench/report.h"
#include "platform/web_browser_view.h"
#include "pupil/file_list_box.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

using namespace corvane;
using namespace corvane::bench;

namespace {

// Waits for the page of `view` to finish loading; the spy was cleared before the navigation.
void waitLoaded(QSignalSpy& spy) {
    if (spy.isEmpty() && !spy.wait(20000)) qFatal("the page did not load within 20 s");
    if (!spy.takeFirst().at(0).toBool()) qFatal("the page failed to load");
}

// The engine view inside a browser view; its class is the engine plugin's own, so it is found
// and heard by name.
QObject* engineView(BrowserView& view) {
    for (QObject* child : view.widget()->children())
        if (child->inherits("QWebEngineView")) return child;
    qFatal("the browser view has no engine view");
}

} // namespace

int main(int argc, char* argv[]) {
    const bool warm = argc > 1 && std::strcmp(argv[1], "--warm") == 0;
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
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) qFatal("the window was not shown");
    QApplication::processEvents();
    if (warm) {
        const auto start = Clock::now();
        browsers.warmUp();
        printFigure("engine_warm_up_block", millisecondsSince(start), "ms", "(none)", 0,
                    "(information: the window waits this long once, after first paint)");
    }
    QTest::qWait(3000); // the pupil picks the test and types her name

    const QRect entry = form.FileList->visualItemRect(form.FileList->item(0));
    form.FileListMouseDown(form.FileList, Qt::LeftButton, {}, entry.center().x(),
                           entry.center().y());
    if (form.store.questionCount != kMaxQuestions) qFatal("the bench test was not loaded");
    form.EStartName->setText("Ann");

    auto start = Clock::now();
    form.IStartOkClick(form.IStartOk);
    QSignalSpy frontLoaded(engineView(*form.Front), SIGNAL(loadFinished(bool)));
    waitLoaded(frontLoaded);
    const double front = millisecondsSince(start);
    printFigure(warm ? "front_page_warm" : "front_page_cold", front, "ms", "(none)", 0,
                "(information: OK on the name until the front page has loaded)");

    start = Clock::now();
    form.ClickStartClick(form.ClickStart);
    QSignalSpy questionLoaded(engineView(*form.Question), SIGNAL(loadFinished(bool)));
    waitLoaded(questionLoaded);
    const double first = millisecondsSince(start);

    std::vector<double> moves;
    for (int k = 1; k < kMaxQuestions; ++k) {
        QTest::qWait(50);
        start = Clock::now();
        QTest::mousePress(form.INext, Qt::LeftButton, {}, {5, 5});
        waitLoaded(questionLoaded);
        moves.push_back(millisecondsSince(start));
        QTest::mouseRelease(form.INext, Qt::LeftButton, {}, {5, 5});
    }
    if (!warm) {
        printFigure("first_question_page", first, "ms", "(none)", 0,
                    "(information: start image until question 1 has loaded)");
        printFigure("next_question_page", median(moves), "ms", "(none)", 0, "< 60 ms");
        printFigure("next_question_page_max", *std::max_element(moves.begin(), moves.end()), "ms",
                    "(none)", 0, "(information)");
    }
    return 0;
}
