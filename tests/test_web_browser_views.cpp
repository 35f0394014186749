// The browser views without their engine plugin: showing a page is an error with a clear
// message, the warm-up passes quietly, and the window reports the error in its error box.
#include "core/app_error.h"
#include "platform/web_browser_view.h"
#include "pupil/file_list_box.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"

#include <QLineEdit>
#include <QtTest>

using corvane::AppError;
using corvane::TForm1;
using corvane::WebBrowserViews;

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

  private:
    QTemporaryFile notALibrary_{QDir::tempPath() + "/libcorvane-XXXXXX.so"};
};

QTEST_MAIN(WebBrowserViewsTest)
#include "test_web_browser_views.moc"
