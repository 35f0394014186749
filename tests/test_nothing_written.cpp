// SPDX-License-Identifier: GPL-3.0-or-later
// The program writes no files: a whole test (load, answer, finish, review) with the real
// browser views, under a home folder of its own and a copy of the sample library as the
// program folder, leaves both trees exactly as they were, and nothing is even written and
// removed again on the way. Pages really load, so the browser engine runs.
#include "platform/file_results_folder.h"
#include "platform/ini_settings.h"
#include "platform/web_browser_view.h"
#include "pupil/file_list_box.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"
#include "support/write_watch.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QtTest>

using corvane::TForm1;

namespace {

// The folders the program may touch, made and watched from before the application starts.
struct Folders {
    QTemporaryDir home;
    QTemporaryDir program;
    QTemporaryDir scratch; // for checking the watch itself, outside the watched folders
    std::unique_ptr<corvane::testing::WriteWatch> watch;
};
Folders* folders = nullptr;

void copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo source(it.next());
        const QString target = to + "/" + QDir(from).relativeFilePath(source.filePath());
        if (source.isDir())
            QDir().mkpath(target);
        else if (!QFile::copy(source.filePath(), target))
            qFatal("cannot copy %s", qPrintable(source.filePath()));
    }
}

// Home, configuration, cache, data, runtime and temporary folders all point into the home.
void useOwnHome(const QString& home) {
    const QList<QPair<const char*, QString>> variables = {{"HOME", home},
                                                          {"XDG_CONFIG_HOME", home + "/.config"},
                                                          {"XDG_CACHE_HOME", home + "/.cache"},
                                                          {"XDG_DATA_HOME", home + "/.local/share"},
                                                          {"XDG_RUNTIME_DIR", home + "/runtime"},
                                                          {"TMPDIR", home + "/tmp"}};
    for (const auto& [name, path] : variables) {
        QDir().mkpath(path);
        qputenv(name, QFile::encodeName(path));
    }
    QFile::setPermissions(home + "/runtime",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Counts the failed page loads of the engine views inside a browser view (the one shown and
// the one loading ahead). The engine's classes are the plugin's own, so the views are found
// and heard by name.
class PageLoads {
  public:
    void follow(corvane::BrowserView& view) {
        for (QObject* engine : view.widget()->children()) {
            if (!engine->inherits("QWebEngineView") || followed_.contains(engine)) continue;
            followed_ << engine;
            spies_.push_back(std::make_unique<QSignalSpy>(engine, SIGNAL(loadFinished(bool))));
        }
    }

    int failed() const {
        int count = 0;
        for (const auto& spy : spies_)
            for (const QList<QVariant>& load : *spy)
                count += load.at(0).toBool() ? 0 : 1;
        return count;
    }

    // The title of the page `view` shows.
    static QString title(corvane::BrowserView& view) {
        QObject* engine = corvane::WebBrowserViews::shownView(view.widget());
        return engine ? engine->property("title").toString() : QString();
    }

  private:
    QList<QObject*> followed_;
    std::vector<std::unique_ptr<QSignalSpy>> spies_;
};

constexpr int kPageTimeout = 60000;

} // namespace

class NothingWrittenTest : public QObject {
    Q_OBJECT

  private slots:
    // The watch reports a changed file and a file written and removed again.
    void watchHearsWrites() {
        const QString root = folders->scratch.path();
        QFile kept(root + "/kept");
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.close();
        corvane::testing::WriteWatch watch({root});
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.write("changed");
        kept.close();
        QFile passing(root + "/passing");
        QVERIFY(passing.open(QIODevice::WriteOnly));
        passing.close();
        QVERIFY(passing.remove());

        const QStringList writes = watch.writes();
        QVERIFY2(writes.contains("changed: " + kept.fileName()), qPrintable(writes.join("\n")));
        QVERIFY(writes.contains("heard: " + root + "/passing created"));
        QVERIFY(writes.contains("heard: " + root + "/passing deleted"));
    }

    void wholeTestWritesNothing() {
        const QString programFolder = folders->program.path();
        {
            corvane::testing::FakeDesktop desktop;
            desktop.display.size = {800, 600};
            desktop.programFolder.folder = QFile::encodeName(programFolder).toStdString();
            desktop.dialogs.yesAnswers = {true};
            desktop.dialogs.inputAnswers = {"marblets"};
            corvane::WebBrowserViews browsers(QStringLiteral(CORVANE_WEBENGINE_PLUGIN));
            // The real settings and results folder: without corvane-maths.ini no record.
            corvane::IniSettings settings(desktop.programFolder);
            corvane::FileResultsFolder results;
            corvane::Seams seams{
                desktop.dialogs,       browsers,        desktop.display, desktop.documents,
                desktop.programFolder, desktop.printer, settings,        results};
            runWholeTest(seams, browsers);
            QVERIFY2(desktop.dialogs.texts("error").isEmpty(),
                     qPrintable(desktop.dialogs.texts("error").join("; ")));
        }
        // The engine may write as it shuts down; give it time to.
        QTest::qWait(1000);
        const QStringList writes = folders->watch->writes();
        QVERIFY2(writes.isEmpty(), qPrintable(writes.join("\n")));
    }

  private:
    void runWholeTest(corvane::Seams& seams, corvane::WebBrowserViews& browsers) {
        TForm1 form(seams);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_COMPARE(form.FileList->count(), 3);
        browsers.warmUp(); // as the program does once the start screen is up
        PageLoads loads;

        const QList<QListWidgetItem*> found =
            form.FileList->findItems("Shapes and Numbers.txt", Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        const QPoint entry = form.FileList->visualItemRect(found.front()).center();
        QTest::mouseClick(form.FileList->viewport(), Qt::LeftButton, {}, entry);
        QCOMPARE(form.store.questionCount, 3);

        loads.follow(*form.Front);
        loads.follow(*form.Question);
        QTest::keyClicks(form.EStartName, "Ann");
        QTest::mouseClick(form.IStartOk, Qt::LeftButton);
        waitForPage(*form.Front, "Welcome");
        if (loads.failed() > 0) QSKIP("the browser engine does not load pages here");

        QTest::mouseClick(form.ClickStart, Qt::LeftButton);
        waitForPage(*form.Question, "Question 1");
        loads.follow(*form.Question); // the view loading ahead, made by now
        // Question 1 (one choice), 2 (an order), 3 (a typed pair), then finish.
        QTest::mouseClick(form.AnswerBoxes[2], Qt::LeftButton);
        QTest::mousePress(form.INext, Qt::LeftButton);
        waitForPage(*form.Question, "Question 2");
        for (int place : {1, 0, 2})
            QTest::mousePress(form.OrderPlaces[place], Qt::LeftButton);
        QTest::mousePress(form.INext, Qt::LeftButton);
        waitForPage(*form.Question, "Question 3");
        QTest::keyClicks(form.singleenter, "2/4");
        QTest::mouseClick(form.IFinish, Qt::LeftButton);
        QVERIFY(!form.ResultPanel->isHidden());
        QCOMPARE(form.score, 3);

        QTest::mouseClick(form.IReview, Qt::LeftButton);
        QVERIFY(form.reviewMode);
        waitForPage(*form.Question, "Question 1");
        for (const char* page : {"Question 2", "Question 3"}) {
            QTest::keyClick(&form, Qt::Key_Return);
            waitForPage(*form.Question, page);
        }
        QCOMPARE(loads.failed(), 0);
    }

    static void waitForPage(corvane::BrowserView& view, const char* title) {
        QTRY_VERIFY2_WITH_TIMEOUT(PageLoads::title(view).endsWith(title),
                                  qPrintable(PageLoads::title(view)), kPageTimeout);
    }
};

int main(int argc, char* argv[]) {
    Folders made;
    folders = &made;
    copyTree(QStringLiteral(CORVANE_SAMPLE_TESTS), made.program.path() + "/test");
    useOwnHome(made.home.path());
    made.watch = std::make_unique<corvane::testing::WriteWatch>(
        QStringList{made.home.path(), made.program.path()});
    // The engine is set up as the program sets it up.
    corvane::WebBrowserViews::prepareEngine();
    QApplication app(argc, argv);
    corvane::registerFontSubstitutes();
    NothingWrittenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_nothing_written.moc"
