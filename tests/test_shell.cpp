// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/app_error.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using corvane::AppError;
using corvane::TForm1;
using corvane::testing::FakeDesktop;

namespace {

const QString kOfferText = "Do you want to change the resolution so to fill the screen ?";

// A document opener that fails, as a system without a viewer might.
class RefusingDocuments : public corvane::Documents {
  public:
    void open(const std::string&, QObject*, std::function<void(const QString&)>) override {
        ++calls;
        throw AppError("Cannot open the document");
    }
    int calls = 0;
};

// Runs the application's event loop with `action` as its first event; true when the action made
// the loop end (the loop gives up with code 1 after a while).
bool quitsWhile(const std::function<void()>& action) {
    QTimer::singleShot(0, action);
    QTimer::singleShot(2000, [] { QCoreApplication::exit(1); });
    return QApplication::exec() == 0;
}

// A program folder holding an empty test library, as the start-screen set-up expects.
struct ProgramFolder {
    QTemporaryDir dir;
    ProgramFolder() { QDir(dir.path()).mkdir("test"); }
    std::string path() const { return dir.path().toStdString(); }
};

} // namespace

class TestShell : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QApplication::setApplicationName("Corvane Maths");
        corvane::registerFontSubstitutes();
    }

    void displayOffer_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("switched");

        QTest::addRow("800x600 asks nothing") << QSize(800, 600) << true << false << false;
        QTest::addRow("1024x768 No") << QSize(1024, 768) << false << true << false;
        QTest::addRow("1024x768 Yes") << QSize(1024, 768) << true << true << true;
        QTest::addRow("640x480 Yes switches up") << QSize(640, 480) << true << true << true;
        QTest::addRow("800 wide but 768 high") << QSize(800, 768) << true << true << true;
        QTest::addRow("600x800 turned") << QSize(600, 800) << false << true << false;
    }

    void displayOffer() {
        QFETCH(QSize, screen);
        QFETCH(bool, answerYes);
        QFETCH(bool, asked);
        QFETCH(bool, switched);

        FakeDesktop desktop;
        desktop.display.size = screen;
        desktop.dialogs.yesAnswers = {answerYes};
        TForm1 form(desktop.seams());

        QCOMPARE(form.savedScreenWidth, screen.width());
        QCOMPARE(form.savedScreenHeight, screen.height());
        QCOMPARE(form.displayModeChanged, switched);
        if (asked) {
            QCOMPARE(desktop.dialogs.shown.size(), size_t(1));
            QCOMPARE(desktop.dialogs.shown[0].kind, QString("display"));
            QCOMPARE(desktop.dialogs.shown[0].text, kOfferText);
            QCOMPARE(desktop.dialogs.shown[0].caption, QString("Fill Screen"));
        } else {
            QVERIFY(desktop.dialogs.shown.empty());
        }
        const std::vector<QSize> expected =
            switched ? std::vector<QSize>{QSize(800, 600)} : std::vector<QSize>{};
        QCOMPARE(desktop.display.modes, expected);

        // Whatever the way out, the display goes back only when it was switched.
        form.close();
        QCOMPARE(desktop.display.modes.size(), switched ? size_t(2) : size_t(0));
        if (switched) QCOMPARE(desktop.display.modes.back(), screen);
    }

    void restoresOnceOnEachWayOut_data() {
        QTest::addColumn<bool>("quit");
        QTest::addColumn<bool>("close");

        QTest::addRow("Quit") << true << false;
        QTest::addRow("close") << false << true;
        QTest::addRow("Quit then close") << true << true;
    }

    void restoresOnceOnEachWayOut() {
        QFETCH(bool, quit);
        QFETCH(bool, close);

        FakeDesktop desktop;
        desktop.dialogs.yesAnswers = {true};
        const ProgramFolder folder;
        desktop.programFolder.folder = folder.path();
        TForm1 form(desktop.seams());
        form.show();
        QCoreApplication::processEvents(); // the start-screen set-up follows the first show
        TForm1::showPanel(form.ResultPanel);
        form.ResultPanel->raise();

        if (quit) QVERIFY(quitsWhile([&] { QTest::mouseClick(form.IQuit, Qt::LeftButton); }));
        if (close) QVERIFY(form.close());
        QCOMPARE(desktop.display.modes, (std::vector<QSize>{{800, 600}, {1024, 768}}));
        QVERIFY(desktop.dialogs.texts("error").isEmpty());
    }

    void quitWithoutSwitchRestoresNothing() {
        FakeDesktop desktop;
        desktop.display.size = {800, 600};
        TForm1 form(desktop.seams());
        TForm1::showPanel(form.ResultPanel);

        QVERIFY(quitsWhile([&] { QTest::mouseClick(form.IQuit, Qt::LeftButton); }));
        form.close();
        QVERIFY(desktop.display.modes.empty());
    }

    void helpOpensTheDocumentAndChangesNothing() {
        FakeDesktop desktop;
        desktop.display.size = {800, 600};
        const ProgramFolder folder;
        desktop.programFolder.folder = folder.path();
        TForm1 form(desktop.seams());
        form.FormActivate(&form);
        TForm1::hidePanel(form.StartPanel);
        TForm1::showPanel(form.QuestionPanel);
        form.currentQuestion = 2;
        form.store.questionCount = 3;

        QTest::mouseClick(form.IHelp, Qt::LeftButton);
        QTest::mouseClick(form.IHelp, Qt::LeftButton);

        const std::string help = folder.path() + "/LumbrelHelp.pdf";
        QCOMPARE(desktop.documents.opened, (std::vector<std::string>{help, help}));
        QCOMPARE(form.currentQuestion, 2);
        QCOMPARE(form.store.questionCount, 3);
        QVERIFY(form.QuestionPanel->isVisibleTo(&form) || !form.QuestionPanel->isHidden());
        QVERIFY(desktop.dialogs.shown.empty());
    }

    void errorBoxText_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QString>("shown");

        QTest::addRow("range check") << QByteArray("Range check error") << "Range check error.";
        QTest::addRow("file not found") << QByteArray("File not found") << "File not found.";
        QTest::addRow("ends in digit") << QByteArray("Question 12") << "Question 12.";
        QTest::addRow("ends in pound") << QByteArray("Costs \xA3") << QString("Costs \u00A3.");
        QTest::addRow("ends in full stop") << QByteArray("Done.") << "Done.";
        QTest::addRow("ends in bracket")
            << QByteArray("Bad number (line 4)") << "Bad number (line 4)";
        QTest::addRow("ends in hyphen") << QByteArray("Line -") << "Line -";
        QTest::addRow("ends in space") << QByteArray("Trailing ") << "Trailing ";
        QTest::addRow("empty") << QByteArray() << "";
    }

    void errorBoxText() {
        QFETCH(QByteArray, message);
        QFETCH(QString, shown);

        FakeDesktop desktop;
        desktop.display.size = {800, 600};
        TForm1 form(desktop.seams());
        form.guarded([&] { throw AppError(message.toStdString()); });

        QCOMPARE(desktop.dialogs.shown.size(), size_t(1));
        QCOMPARE(desktop.dialogs.shown[0].kind, QString("error"));
        QCOMPARE(desktop.dialogs.shown[0].text, shown);
        QCOMPARE(desktop.dialogs.shown[0].caption, QString("Corvane Maths"));
    }

    // A handler reached by a real click throws: one error box per click, and the program goes on.
    void throwingHandlerShowsOneErrorBox() {
        FakeDesktop desktop;
        desktop.display.size = {800, 600};
        RefusingDocuments documents;
        TForm1 form({desktop.dialogs, desktop.browsers, desktop.display, documents,
                     desktop.programFolder, desktop.printer, desktop.settings,
                     desktop.resultsFolder});
        TForm1::showPanel(form.QuestionPanel);

        QTest::mouseClick(form.IHelp, Qt::LeftButton);
        QCOMPARE(desktop.dialogs.texts("error"), QStringList{"Cannot open the document."});
        QTest::mouseClick(form.IHelp, Qt::LeftButton);
        QCOMPARE(documents.calls, 2);
        QCOMPARE(desktop.dialogs.shown.size(), size_t(2));
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
