// SPDX-License-Identifier: GPL-3.0-or-later
// The browser views without their engine plugin: showing a page is an error with a clear
// message, the warm-up passes quietly, and the window reports the error in its error box.
// With the plugin: pages loaded ahead are shown only while they are still what a fresh load
// would show.
#include "core/app_error.h"
#include "platform/web_browser_view.h"
#include "pupil/file_list_box.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"
#include "support/test_files.h"

#include <QLineEdit>
#include <QtTest>

using corvane::AppError;
using corvane::TForm1;
using corvane::WebBrowserViews;

namespace {

constexpr int kPageTimeout = 60000;

QByteArray page(const QString& title) {
    return "<!DOCTYPE html><html><head><title>" + title.toLatin1() + "</title></head><body><p>" +
           title.toLatin1() + "</p></body></html>";
}

QString title(QObject* engineView) {
    return engineView ? engineView->property("title").toString() : QString();
}

QString shownTitle(corvane::BrowserView& view) {
    return title(WebBrowserViews::shownView(view.widget()));
}

// The engine view of `view` that is not the one shown: where pages are loaded ahead.
QObject* viewBehind(corvane::BrowserView& view) {
    for (QObject* child : view.widget()->children())
        if (child->inherits("QWebEngineView") && child != WebBrowserViews::shownView(view.widget()))
            return child;
    return nullptr;
}

// A pupil's window over a library of two tests, A and B, of two questions each, whose pages
// are titled "A front", "A question 1" and so on.
struct PupilWindow {
    explicit PupilWindow(WebBrowserViews& browsers) {
        for (const QString test : {"A", "B"}) {
            corvane::testing::writeFile(
                library, "test/" + test + ".txt",
                corvane::testing::crlfLines(
                    {"2", "KWORD", "Two", "0",          "0",     "0",     "0",
                     "0", "0",     "TWO", "----------", "KWORD", "Three", "0",
                     "0", "0",     "0",   "0",          "0",     "THREE", "----------"}));
            corvane::testing::writeFile(library, pagePath(test, "front"), page(test + " front"));
            for (const QString q : {"1", "2"})
                corvane::testing::writeFile(library, pagePath(test, "question" + q),
                                            page(test + " question " + q));
        }
        desktop.display.size = {800, 600};
        desktop.programFolder.folder = QFile::encodeName(library.path()).toStdString();
        form = std::make_unique<TForm1>(corvane::Seams{
            desktop.dialogs, browsers, desktop.display, desktop.documents, desktop.programFolder,
            desktop.printer, desktop.settings, desktop.resultsFolder});
        form->show();
    }

    static QString pagePath(const QString& test, const QString& name) {
        return "test/" + test + "/" + name + ".htm";
    }
    QString file(const QString& test, const QString& name) const {
        return library.filePath(pagePath(test, name));
    }

    void pick(const QString& test) {
        const QList<QListWidgetItem*> found =
            form->FileList->findItems(test + ".txt", Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        const QPoint entry = form->FileList->visualItemRect(found.front()).center();
        QTest::mouseClick(form->FileList->viewport(), Qt::LeftButton, {}, entry);
        QCOMPARE(form->store.questionCount, 2);
    }

    void pressOk() {
        form->EStartName->setText("Ann");
        QTest::mouseClick(form->IStartOk, Qt::LeftButton);
        QVERIFY(form->StartPanel->isHidden());
    }

    QTemporaryDir library;
    corvane::testing::FakeDesktop desktop;
    std::unique_ptr<TForm1> form;
};

} // namespace

class WebBrowserViewsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        corvane::registerFontSubstitutes();
        QVERIFY(notALibrary_.open());
        notALibrary_.write("not a shared library\n");
        notALibrary_.flush();
    }

    void missingPluginIsAnError_data() {
        QTest::addColumn<QString>("path");
        QTest::addRow("no such file") << QDir::tempPath() + "/no-such-dir/libcorvane-webengine.so";
        QTest::addRow("not a library") << notALibrary_.fileName();
    }

    void missingPluginIsAnError() {
        QFETCH(QString, path);
        WebBrowserViews browsers(path);
        QWidget parent;
        const std::unique_ptr<corvane::BrowserView> view = browsers.create(&parent, "Front");
        QCOMPARE(view->widget()->objectName(), "Front");

        browsers.warmUp(); // nothing to start, and nothing thrown
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                view->Navigate("file:///tmp/page.htm");
                QFAIL("Navigate showed a page without the engine");
            } catch (const AppError& error) {
                const QString message = error.what();
                QVERIFY2(message.startsWith("Cannot show pages: "), qPrintable(message));
                QVERIFY2(message.contains(QFileInfo(path).fileName()), qPrintable(message));
            }
        }
        QVERIFY(view->widget()->findChildren<QWidget*>().isEmpty());
    }

    // OK on the name opens the front page; without the engine the error box says why.
    void windowReportsMissingEngine() {
        corvane::testing::FakeDesktop desktop;
        desktop.display.size = {800, 600};
        desktop.programFolder.folder =
            QFile::encodeName(QFileInfo(CORVANE_SAMPLE_TESTS).path()).toStdString();
        WebBrowserViews browsers(QDir::tempPath() + "/no-such-dir/libcorvane-webengine.so");
        TForm1 form({desktop.dialogs, browsers, desktop.display, desktop.documents,
                     desktop.programFolder, desktop.printer, desktop.settings,
                     desktop.resultsFolder});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.FormActivate(&form);
        QTRY_VERIFY(form.FileList->count() > 0);
        browsers.warmUp();

        const QPoint entry = form.FileList->visualItemRect(form.FileList->item(0)).center();
        QTest::mouseClick(form.FileList->viewport(), Qt::LeftButton, {}, entry);
        QVERIFY(form.store.questionCount > 0);
        QTest::keyClicks(form.EStartName, "Ann");
        QTest::mouseClick(form.IStartOk, Qt::LeftButton);

        const QStringList errors = desktop.dialogs.texts("error");
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.front().startsWith("Cannot show pages: "), qPrintable(errors.front()));
    }

    // A page loaded ahead is shown when its file is as it was; a file rewritten, replaced by
    // another of the same size, or removed after the load shows what a fresh load shows. On
    // the front page (loaded ahead in the hidden view when the test is picked) and on the next
    // question (loaded ahead behind the question shown).
    void pageLoadedAhead_data() {
        QTest::addColumn<bool>("next");
        QTest::addColumn<QString>("change");
        for (const bool next : {false, true})
            for (const QString change : {"none", "rewritten", "replaced", "removed"})
                QTest::addRow("%s, %s", next ? "next question" : "front page", qPrintable(change))
                    << next << change;
    }

    void pageLoadedAhead() {
        QFETCH(bool, next);
        QFETCH(QString, change);
        PupilWindow window(*browsers_);
        QVERIFY(QTest::qWaitForWindowExposed(window.form.get()));
        QTRY_COMPARE(window.form->FileList->count(), 2);
        browsers_->warmUp();
        TForm1& form = *window.form;

        window.pick("A");
        corvane::BrowserView* view = form.Front.get();
        QString name = "front";
        QTRY_COMPARE_WITH_TIMEOUT(shownTitle(*view), "A front", kPageTimeout); // before OK
        if (next) {
            window.pressOk();
            QTest::mouseClick(form.ClickStart, Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(shownTitle(*form.Question), "A question 1", kPageTimeout);
            view = form.Question.get();
            name = "question2";
            QTRY_COMPARE_WITH_TIMEOUT(title(viewBehind(*view)), "A question 2", kPageTimeout);
        }

        const QString file = window.file("A", name);
        QString expected = "A " + (next ? QString("question 2") : name);
        if (change == "rewritten") {
            corvane::testing::writeFile(window.library, PupilWindow::pagePath("A", name),
                                        page(expected + ", new"));
            expected += ", new";
        } else if (change == "replaced") {
            expected = "B" + expected.mid(1);
            QVERIFY(QFile::remove(file));
            QVERIFY(QFile::copy(window.file("B", name), file));
        } else if (change == "removed") {
            QVERIFY(QFile::remove(file));
            expected = missingPageTitle(file);
        }

        if (next)
            QTest::mousePress(form.INext, Qt::LeftButton);
        else
            window.pressOk();
        QTRY_COMPARE_WITH_TIMEOUT(shownTitle(*view), expected, kPageTimeout);
        QVERIFY(window.desktop.dialogs.texts("error").isEmpty());
    }

    // Picking another test before OK loads its front page instead; OK shows it, also while it
    // is still loading.
    void lastPickedTestsFrontPage() {
        PupilWindow window(*browsers_);
        QVERIFY(QTest::qWaitForWindowExposed(window.form.get()));
        QTRY_COMPARE(window.form->FileList->count(), 2);
        browsers_->warmUp();

        window.pick("A");
        QTRY_COMPARE_WITH_TIMEOUT(shownTitle(*window.form->Front), "A front", kPageTimeout);
        window.pick("B");
        window.pressOk();
        QTRY_COMPARE_WITH_TIMEOUT(shownTitle(*window.form->Front), "B front", kPageTimeout);
        QTest::qWait(300); // nothing of A's comes back
        QCOMPARE(shownTitle(*window.form->Front), "B front");
    }

  private:
    // What a fresh view shows for the missing page `file`: the engine's own error page.
    QString missingPageTitle(const QString& file) {
        QWidget parent;
        const std::unique_ptr<corvane::BrowserView> fresh = browsers_->create(&parent, "Fresh");
        fresh->Navigate("file://" + QFile::encodeName(file).toStdString());
        QObject* engineView = WebBrowserViews::shownView(fresh->widget());
        QSignalSpy loaded(engineView, SIGNAL(loadFinished(bool)));
        if (!loaded.wait(kPageTimeout)) return "(no page)";
        return title(engineView);
    }

    std::unique_ptr<WebBrowserViews> browsers_ =
        std::make_unique<WebBrowserViews>(QStringLiteral(CORVANE_WEBENGINE_PLUGIN));
    QTemporaryFile notALibrary_{QDir::tempPath() + "/libcorvane-XXXXXX.so"};
};

int main(int argc, char* argv[]) {
    // The engine is set up as the program sets it up.
    WebBrowserViews::prepareEngine();
    QApplication app(argc, argv);
    WebBrowserViewsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_web_browser_views.moc"
