// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard: Enter goes on from every screen, A..E tick choice options, and every key
// press is seen wherever the focus is while still reaching the focused control.
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace corvane;
using namespace corvane::testing;

namespace {

using Marks = std::array<std::int32_t, 5>;

Marks marksOf(const QuestionStore& store, int q) {
    Marks marks{};
    for (int j = 1; j <= kMaxOptions; ++j)
        marks[std::size_t(j - 1)] = store.userMarks[q][j];
    return marks;
}

// A question of the given type with `options` options shown and option A right.
void addQuestion(QuestionStore& store, std::int32_t type, std::int32_t options = 5) {
    const int q = ++store.questionCount;
    store.questionType[q] = type;
    store.optionCount[q] = options;
    store.answerKey[q][1] = 1;
    store.answerText[q] = corvane::Text("5");
    store.orderNext[q] = 1; // as the answer reset leaves it
}

} // namespace

Q_DECLARE_METATYPE(Marks)

class KeyboardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeDesktop> desktop;
    std::unique_ptr<TForm1> form;

    // Question q on screen as the pupil reaches it from the front page.
    void onQuestion(int q) {
        TForm1::hidePanel(form->StartPanel);
        TForm1::showPanel(form->QuestionPanel);
        form->currentQuestion = q;
        form->drawquestion();
        desktop->dialogs.clear();
    }

    void showResults() {
        TForm1::hidePanel(form->QuestionPanel);
        TForm1::showPanel(form->ResultPanel);
    }

    QWidget* focused() {
        QWidget* widget = QApplication::focusWidget();
        return widget ? widget : form.get();
    }

  private slots:
    void initTestCase() { registerFontSubstitutes(); }

    void init() {
        desktop = std::make_unique<FakeDesktop>();
        desktop->display.size = {800, 600};
        form = std::make_unique<TForm1>(desktop->seams());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        desktop->dialogs.clear();
        for (int i = 0; i < 3; ++i)
            addQuestion(form->store, KWORD);
    }
    void cleanup() {
        form.reset();
        desktop.reset();
    }

    void enterFromStartToQuestions() {
        form->EStartName->setFocus();
        QTest::keyClick(form->EStartName, Qt::Key_Return);
        QCOMPARE(desktop->dialogs.texts("message"), QStringList{"Please enter your name"});
        QCOMPARE(form->currentQuestion, -1);

        QTest::keyClicks(form->EStartName, "Ann");
        QTest::keyClick(form->EStartName, Qt::Key_Return);
        QCOMPARE(form->EStartName->text(), QString("Ann"));
        QCOMPARE(form->currentQuestion, 0);
        QCOMPARE(form->LheaderName->text(), QString("Name: Ann"));
        QVERIFY(form->FrontPanel->isVisible());

        QTest::keyClick(focused(), Qt::Key_Enter);
        QCOMPARE(form->currentQuestion, 1);
        QVERIFY(form->QuestionPanel->isVisible());
    }

    void enterOnTheQuestions_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("first") << 1 << 2;
        QTest::newRow("last stays") << 3 << 3;
    }
    void enterOnTheQuestions() {
        QFETCH(int, from);
        QFETCH(int, to);
        onQuestion(from);
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(form->currentQuestion, to);
        QVERIFY(QString::fromStdString(desktop->browsers.lastUrl("Question"))
                    .endsWith(QString("question%1.htm").arg(to)));
    }

    // Key preview: the press reaches FormKeyDown exactly once wherever it is delivered.
    void enterSeenWhereverTheFocusIs_data() {
        QTest::addColumn<QString>("receiver");
        QTest::newRow("the window") << QString("window");
        QTest::newRow("the answer box") << QString("answer box");
        QTest::newRow("the name box") << QString("name box");
        QTest::newRow("inside the browser view") << QString("browser");
    }
    void enterSeenWhereverTheFocusIs() {
        QFETCH(QString, receiver);
        onQuestion(1);
        QWidget* target = form.get();
        if (receiver == "answer box") target = form->singleenter;
        if (receiver == "name box") target = form->EStartName;
        if (receiver == "browser")
            target = new QWidget(form->Question->widget()); // its focus proxy
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(form->currentQuestion, 2);
    }

    // The real browser view sends a key that its page leaves unused once more to its parent,
    // as a fresh event of the program's own; that second delivery is the same key press.
    void keyHandedBackByTheBrowserViewCountsOnce() {
        onQuestion(1);
        auto* focusProxy = new QWidget(form->Question->widget());
        QTest::keyClick(focusProxy, Qt::Key_Return);
        QKeyEvent handedBack(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QCoreApplication::sendEvent(form->Question->widget(), &handedBack);
        QCOMPARE(form->currentQuestion, 2);
    }

    void typingInTheAnswerBox() {
        onQuestion(1);
        QCOMPARE(QApplication::focusWidget(), form->singleenter);
        QTest::keyClicks(form->singleenter, "abc");
        QCOMPARE(form->singleenter->text(), QString("abc"));
        QCOMPARE(form->store.userText[1], Text("abc"));
        QCOMPARE(form->currentQuestion, 1);
        QTest::keyClick(form->singleenter, Qt::Key_Return);
        QCOMPARE(form->currentQuestion, 2);
    }

    void optionKeys_data() {
        QTest::addColumn<std::int32_t>("type");
        QTest::addColumn<std::int32_t>("options");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<Marks>("marks");
        const Qt::KeyboardModifiers none = Qt::NoModifier;
        QTest::newRow("single: A then C")
            << std::int32_t(KSINGLECHOICE) << 5 << QString("AC") << none << Marks{0, 0, 1, 0, 0};
        QTest::newRow("single: C again")
            << std::int32_t(KSINGLECHOICE) << 5 << QString("ACC") << none << Marks{0, 0, 1, 0, 0};
        QTest::newRow("multi: B, B")
            << std::int32_t(KMULTICHOICE) << 5 << QString("BB") << none << Marks{0, 0, 0, 0, 0};
        QTest::newRow("multi: B, E")
            << std::int32_t(KMULTICHOICE) << 5 << QString("BE") << none << Marks{0, 1, 0, 0, 1};
        QTest::newRow("Shift+A") << std::int32_t(KMULTICHOICE) << 5 << QString("A")
                                 << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                 << Marks{1, 0, 0, 0, 0};
        QTest::newRow("Ctrl+A") << std::int32_t(KSINGLECHOICE) << 5 << QString("A")
                                << Qt::KeyboardModifiers(Qt::ControlModifier)
                                << Marks{1, 0, 0, 0, 0};
        QTest::newRow("single: E beyond three options")
            << std::int32_t(KSINGLECHOICE) << 3 << QString("BE") << none << Marks{0, 1, 0, 0, 0};
        QTest::newRow("multi: D beyond three options")
            << std::int32_t(KMULTICHOICE) << 3 << QString("D") << none << Marks{0, 0, 0, 0, 0};
        QTest::newRow("yes/no") << std::int32_t(KYESNO) << 2 << QString("A") << none
                                << Marks{0, 0, 0, 0, 0};
        QTest::newRow("order: A places item A")
            << std::int32_t(KORDER) << 3 << QString("A") << none << Marks{1, 0, 0, 0, 0};
        QTest::newRow("other letters")
            << std::int32_t(KMULTICHOICE) << 5 << QString("FZ") << none << Marks{0, 0, 0, 0, 0};
    }
    void optionKeys() {
        QFETCH(std::int32_t, type);
        QFETCH(std::int32_t, options);
        QFETCH(QString, keys);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(Marks, marks);
        addQuestion(form->store, type, options);
        onQuestion(4);
        for (QChar letter : keys)
            QTest::keyClick(focused(), Qt::Key(letter.unicode()), modifiers);
        QCOMPARE(marksOf(form->store, 4), marks);
        QCOMPARE(form->currentQuestion, 4);
    }

    // Marks already given stay as they are while reviewing or on the results screen.
    void keysChangeNothing_data() {
        QTest::addColumn<bool>("results");
        QTest::newRow("reviewing") << false;
        QTest::newRow("results screen") << true;
    }
    void keysChangeNothing() {
        QFETCH(bool, results);
        addQuestion(form->store, KMULTICHOICE);
        form->store.userMarks[4][1] = 1;
        onQuestion(4);
        if (results)
            showResults();
        else
            form->reviewMode = 1;
        const std::size_t pagesShown = desktop->browsers.navigations["Question"].size();

        for (Qt::Key key : {Qt::Key_A, Qt::Key_B})
            QTest::keyClick(focused(), key);

        QCOMPARE(marksOf(form->store, 4), (Marks{1, 0, 0, 0, 0}));
        QCOMPARE(desktop->browsers.navigations["Question"].size(), pagesShown);
    }

    void enterOnTheResultsScreen() {
        onQuestion(2);
        showResults();
        const std::size_t pagesShown = desktop->browsers.navigations["Question"].size();
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(form->currentQuestion, 2);
        QCOMPARE(desktop->browsers.navigations["Question"].size(), pagesShown);
        QVERIFY(form->ResultPanel->isVisible());
    }

    void enterWhileReviewing() {
        onQuestion(1);
        form->reviewMode = 1;
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(form->currentQuestion, 2);
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
