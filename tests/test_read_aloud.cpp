// SPDX-License-Identifier: GPL-3.0-or-later
// "Read it to me" on the sample tests, through a fake speech engine: what is said on each
// screen and for each answer panel, the control and its key, and where it is not offered.
#include "pupil/file_list_box.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "pupil/read_aloud.h"
#include "support/fake_seams.h"
#include "support/test_files.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QtTest>

using namespace corvane;
using namespace corvane::testing;

namespace {

// The sample library as test/ of a program folder of its own.
void copySamples(const QString& into) {
    const QDir from(QStringLiteral(CORVANE_SAMPLE_TESTS));
    QDirIterator files(from.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString copy = into + "/test/" + from.relativeFilePath(file);
        QDir().mkpath(QFileInfo(copy).path());
        QVERIFY(QFile::copy(file, copy));
    }
}

} // namespace

class ReadAloudTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<FakeDesktop> desktop;
    std::unique_ptr<TForm1> form;

    ReadAloud* reader() { return form->findChild<ReadAloud*>(); }
    ImageControl* control(int screen) { return reader()->controls()[std::size_t(screen)]; }
    QString lastSaid() { return desktop->speech.said.value(desktop->speech.said.size() - 1); }

    void startOn(const QString& test) {
        QTest::keyClicks(form->EStartName, "Ann");
        const QList<QListWidgetItem*> found = form->FileList->findItems(test, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTest::mousePress(form->FileList->viewport(), Qt::LeftButton, {},
                          form->FileList->visualItemRect(found.front()).center());
        form->IStartOkClick(form->IStartOk);
        QVERIFY(form->FrontPanel->isVisible());
    }

    void goTo(int question) {
        if (form->currentQuestion == 0) QVERIFY(form->leaveFrontPage());
        TForm1::showPanel(form->QuestionPanel);
        form->currentQuestion = question;
        form->drawquestion();
    }

  private slots:
    void initTestCase() {
        registerFontSubstitutes();
        copySamples(dir.path());
    }
    void init() {
        desktop = std::make_unique<FakeDesktop>();
        desktop->display.size = {800, 600};
        desktop->programFolder.folder = QFile::encodeName(dir.path()).toStdString();
        form = std::make_unique<TForm1>(desktop->seams());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QVERIFY(reader());
    }
    void cleanup() {
        form.reset();
        desktop.reset();
    }

    // What a press reads on each question of the sample tests: the page in reading order with
    // the maths in words and the options after their letters, and in review the verdict.
    void questionSaid_data() {
        QTest::addColumn<QString>("test");
        QTest::addColumn<int>("question");
        QTest::addColumn<bool>("review");
        QTest::addColumn<QString>("said");
        const QString moneyPage =
            "Question one. How much money is there altogether? a one pound coin a twenty pence "
            "coin a twenty pence coin a five pence coin. Type the amount in pounds and pence, like "
            "two point three zero. The pound sign is already there.";
        QTest::addRow("typed money") << "Money and Time.txt" << 1 << false << moneyPage;
        QTest::addRow("typed money, review")
            << "Money and Time.txt" << 1 << true
            << moneyPage + " The right answer is one pound forty-five.";
        QTest::addRow("time, review")
            << "Money and Time.txt" << 2 << true
            << "Question two. What time does the clock show? a clock showing three forty-five. "
               "Type the time with a colon, like seven fifteen. The right answer is three "
               "forty-five.";
        QTest::addRow("yes or no")
            << "Money and Time.txt" << 3 << false
            << "Question three. Is two hours longer than one hundred minutes? two hours. an "
               "hourglass. one hundred minutes. Remember: one hour is sixty minutes. Tick Yes or "
               "No under the page.";
        QTest::addRow("pence in the question")
            << "Money and Time.txt" << 4 << false
            << "Question four. A pencil costs thirty-five pence. Ben pays with a one pound coin. "
               "How much change does he get? a pencil. thirty-five pence. a one pound coin. Type "
               "the amount in pounds and pence, like zero point four zero.";
        QTest::addRow("multiple choice, review")
            << "Number Puzzles.txt" << 1 << true
            << "Question one. Which numbers are in the three times table? A, a balloon with nine. "
               "B, a balloon with fourteen. C, a balloon with twenty-one. D, a balloon with "
               "twenty-five. E, a balloon with thirty. There is more than one right answer. Tick "
               "the box of every right letter under the page. The right answer is A, C and E.";
        QTest::addRow("word, review: not in capitals")
            << "Number Puzzles.txt" << 2 << true
            << "Question two. Four tens make this number. Write it in words. four rods of ten "
               "cubes. four tens equals forty. Type the number as a word in the box, like twelve. "
               "Check your spelling! The right answer is forty.";
        QTest::addRow("order, review")
            << "Number Puzzles.txt" << 3 << true
            << "Question three. Put these numbers in order, smallest first. A, three hundred and "
               "five. B, fifty-three. C, three hundred and fifty. D, thirty-five. Click the "
               "letters A, B, C and D under the page in order, smallest number first. Made a "
               "mistake? Click Clear. The right answer is D, B, A, C.";
        QTest::addRow("remainder")
            << "Number Puzzles.txt" << 4 << false
            << "Question four. seventeen sweets are shared equally between five children. How "
               "many does each child get, and how many are left over? seventeen sweets five "
               "children. Type the answer like four remainder one: that means four each and one "
               "left over.";
        QTest::addRow("single choice, review")
            << "Shapes and Numbers.txt" << 1 << true
            << "Question one. Which shape has four equal sides? A, a triangle. B, a rectangle. C, "
               "a square. D, a hexagon. Look at shapes A, B, C and D. Tick the box of the right "
               "letter under the page. The right answer is C.";
        QTest::addRow("labelled order, review")
            << "Shapes and Numbers.txt" << 2 << true
            << "Question two. Put the numbers in order, smallest first. twelve. five. thirty. "
               "Click the numbers under the page one by one, starting with the smallest. The word "
               "Smallest: is there to help you. Made a mistake? Click Clear and start again. The "
               "right answer is Smallest: five, twelve, thirty.";
    }
    void questionSaid() {
        QFETCH(QString, test);
        QFETCH(int, question);
        QFETCH(bool, review);
        QFETCH(QString, said);
        startOn(test);
        goTo(question);
        if (review) {
            form->reviewMode = 1;
            form->drawquestion();
        }
        QTest::mouseClick(control(1), Qt::LeftButton);
        QCOMPARE(lastSaid(), said);
    }

    // The front page and the results are read too; a second press stops; another screen or
    // another question stops what was being read.
    void screensAndStopping() {
        startOn("Money and Time.txt");
        QVERIFY(control(0)->isVisible());
        QCOMPARE(desktop->speech.warmUps, 1); // the engine starts before the first press
        QTest::mouseClick(control(0), Qt::LeftButton);
        QVERIFY(lastSaid().startsWith("Money and Time. Count coins, give change and tell the time. "
                                      "a one pound coin a twenty pence coin a clock"));
        QVERIFY(lastSaid().contains("Money: type pounds and pence, like two point three zero."));
        QVERIFY(reader()->speaking());
        const QImage reading = control(0)->picture();
        QTest::mouseClick(control(0), Qt::LeftButton);
        QVERIFY(!reader()->speaking());
        QCOMPARE(desktop->speech.state, Speech::State::Ready);
        QVERIFY(control(0)->picture() != reading); // the control shows it reads no more
        QCOMPARE(desktop->speech.said.size(), 1);

        goTo(1);
        QTest::mouseClick(control(1), Qt::LeftButton);
        QVERIFY(reader()->speaking());
        goTo(2); // the next question: the first is read no longer
        QVERIFY(!reader()->speaking());
        QCOMPARE(desktop->speech.state, Speech::State::Ready);

        QTest::mouseClick(control(1), Qt::LeftButton);
        desktop->dialogs.yesAnswers = {true}; // finish with questions unanswered
        form->IFinishClick(form->IFinish);
        QVERIFY(form->ResultPanel->isVisible());
        QVERIFY(!reader()->speaking());
        QTest::mouseClick(control(2), Qt::LeftButton);
        QCOMPARE(lastSaid(), "Test Name: Money and Time. Test Result for: Ann. Score: zero out of "
                             "five.");
        desktop->speech.finish(); // the words have all been said: the control is ready again
        QVERIFY(!reader()->speaking());
    }

    // F9 reads while the pupil types the answer, and the typing goes on where it was; the room's
    // rate and voice are used.
    void keyWhileTyping() {
        desktop->settings.values.speechRate = -4;
        desktop->settings.values.speechVoice = "english_rp";
        startOn("Money and Time.txt");
        goTo(1);
        form->singleenter->setFocus();
        QTest::keyClicks(form->singleenter, "1.4");
        QTest::keyClick(form->windowHandle(), Qt::Key_F9);
        QCOMPARE(desktop->speech.said.size(), 1);
        QVERIFY(lastSaid().startsWith("Question one. How much money"));
        QCOMPARE(desktop->speech.lastVoice.rate, -4);
        QCOMPARE(desktop->speech.lastVoice.voice, QString("english_rp"));
        QTest::keyClicks(form->singleenter, "5");
        QCOMPARE(form->singleenter->text(), QString("1.45"));
        QCOMPARE(QApplication::focusWidget(), form->singleenter);
        QTest::keyClick(form->windowHandle(), Qt::Key_F9);
        QVERIFY(!reader()->speaking());
        // On the start screen there is nothing to read and no control.
        form->IResetClick(form->IReset);
    }

    // Where the control is not offered: the room turned reading off, the test refuses it, or
    // the computer has no speech engine (told once, then the control goes).
    void notOffered_data() {
        QTest::addColumn<QString>("why");
        QTest::newRow("room") << "room";
        QTest::newRow("test") << "test";
        QTest::newRow("no engine") << "engine";
    }
    void notOffered() {
        QFETCH(QString, why);
        if (why == "room") desktop->settings.values.speechOn = false;
        if (why == "engine") desktop->speech.available = false;
        QTemporaryDir refusing;
        const QString test = why == "test" ? "Sums.txt" : "Money and Time.txt";
        if (why == "test") {
            // A test made from a source with "Read aloud: no" carries the mark on its front page.
            QVERIFY(QFile::copy(dir.filePath("test/Money and Time.txt"),
                                dir.filePath("test/Sums.txt")));
            QDir().mkpath(dir.filePath("test/Sums"));
            writeFile(dir, "test/Sums/front.htm",
                      "<html><head><meta name=read-aloud content=no></head><body><h1>Sums</h1>");
            form->FormActivate(form.get()); // the list again, with the new test
        }
        startOn(test);
        if (why == "engine") {
            QVERIFY(control(0)->isVisible());
            QTest::mouseClick(control(0), Qt::LeftButton);
            QCOMPARE(desktop->dialogs.texts("message").size(), 1);
            QVERIFY(
                desktop->dialogs.texts("message").front().contains("Reading aloud does not work"));
        }
        for (int screen = 0; screen < 3; ++screen)
            QVERIFY(!control(screen)->isVisibleTo(form.get()));
        QTest::keyClick(form->windowHandle(), Qt::Key_F9);
        goTo(1);
        QTest::keyClick(form->windowHandle(), Qt::Key_F9);
        QVERIFY(desktop->speech.said.isEmpty());
        QCOMPARE(desktop->dialogs.texts("message").size(), why == "engine" ? 1 : 0);
        QVERIFY(!control(1)->isVisibleTo(form.get()));
        if (why == "test") {
            QFile::remove(dir.filePath("test/Sums.txt"));
            QDir(dir.filePath("test/Sums")).removeRecursively();
        }
    }
};

QTEST_MAIN(ReadAloudTest)
#include "test_read_aloud.moc"
