// SPDX-License-Identifier: GPL-3.0-or-later
// Finishing a test (the completeness question, the screen switch, the three results lines),
// the review password and the restart, driven by real clicks on the window's buttons.
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"
#include "support/test_files.h"

#include <QLineEdit>
#include <QtTest>

using namespace corvane;
using namespace corvane::testing;

namespace {

const QString kIncomplete = "You haven`t answered all the questions, do you really want to finish?";
const QString kRestart = "This will restart the test from the begining, do you want to continue?";

// A panel's own state, whatever its parents' state is.
bool enabled(QWidget* panel) {
    return panel->isEnabledTo(panel->parentWidget());
}

bool shown(QWidget* panel) {
    return !panel->isHidden() && enabled(panel);
}

bool hidden(QWidget* panel) {
    return panel->isHidden() && !enabled(panel);
}

} // namespace

class ResultsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeDesktop> desktop;
    std::unique_ptr<TForm1> form;

    // The question screen with question q on view, as a run leaves it.
    void onQuestion(int q) {
        TForm1::hidePanel(form->StartPanel);
        TForm1::hidePanel(form->ResultPanel);
        TForm1::showPanel(form->QuestionPanel);
        TForm1::showPanel(form->MultiPanel);
        form->currentQuestion = q;
        form->pupilName = "Ann";
        form->testName = "Shapes";
        desktop->dialogs.clear();
    }

    // Finishes a complete run of five questions and lands on the results screen.
    void finishFive(int right) {
        answerFive(form->store, right);
        onQuestion(5);
        QTest::mouseClick(form->IFinish, Qt::LeftButton);
        QVERIFY(shown(form->ResultPanel));
        desktop->dialogs.clear();
    }

    // The surface that DrawButton1 leaves for `text` on an image of `image`'s size.
    QImage drawnAlone(ImageControl* image, const Text& text) {
        ImageControl scratch;
        scratch.resize(image->size());
        form->DrawButton1(&scratch, 18, 20, text, 1);
        return scratch.surface();
    }

  private slots:
    void initTestCase() { registerFontSubstitutes(); }

    void init() {
        desktop = std::make_unique<FakeDesktop>();
        desktop->display.size = {800, 600};
        form = std::make_unique<TForm1>(desktop->seams());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() {
        form.reset();
        desktop.reset();
    }

    void incompleteFinishShowsFirstUnanswered_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No: stay on the questions") << false;
        QTest::newRow("Yes: mark anyway") << true;
    }
    void incompleteFinishShowsFirstUnanswered() {
        QFETCH(bool, yes);
        QuestionStore& store = form->store;
        store.questionCount = 4;
        store.questionType[1] = KSINGLECHOICE;
        store.optionCount[1] = 3;
        store.answerKey[1][2] = 1;
        store.userMarks[1][2] = 1;
        store.questionType[2] = KYESNO; // nothing chosen still counts as answered
        store.questionType[3] = KWORD;
        store.answerText[3] = "cube";
        store.questionType[4] = KMULTICHOICE;
        store.optionCount[4] = 2;
        store.answerKey[4][1] = 1;
        form->score = 99;
        onQuestion(4);
        desktop->dialogs.yesAnswers = {yes};

        QTest::mouseClick(form->IFinish, Qt::LeftButton);

        QCOMPARE(desktop->dialogs.texts("confirm"), QStringList{kIncomplete});
        QCOMPARE(form->currentQuestion, 3);
        QVERIFY(QString::fromStdString(desktop->browsers.lastUrl("Question"))
                    .endsWith("question3.htm"));
        QCOMPARE(shown(form->ResultPanel), yes);
        QCOMPARE(shown(form->QuestionPanel), !yes);
        QCOMPARE(form->score, yes ? 1 : 99);
    }

    void finishDoesNothing_data() {
        QTest::addColumn<int>("question");
        QTest::addColumn<bool>("review");
        QTest::newRow("start screen") << -1 << false;
        QTest::newRow("front page") << 0 << false;
        QTest::newRow("reviewing with an unanswered question") << 2 << true;
    }
    void finishDoesNothing() {
        QFETCH(int, question);
        QFETCH(bool, review);
        answerFive(form->store, 5);
        form->store.userMarks[4][1] = 0; // question 4 unanswered
        onQuestion(question);
        form->reviewMode = review;
        form->score = 99;

        QTest::mouseClick(form->IFinish, Qt::LeftButton);

        QVERIFY(desktop->dialogs.shown.empty());
        QCOMPARE(form->currentQuestion, question);
        QCOMPARE(form->score, 99);
        QVERIFY(hidden(form->ResultPanel));
        QVERIFY(shown(form->QuestionPanel));
    }

    void finishMarksAndShowsResults_data() {
        QTest::addColumn<int>("right");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("4 of 5") << 4 << QByteArray("Score: 4 out of  5     Well Done! ");
        QTest::newRow("3 of 5") << 3 << QByteArray("Score: 3 out of 5");
    }
    void finishMarksAndShowsResults() {
        QFETCH(int, right);
        QFETCH(QByteArray, line);
        answerFive(form->store, right);
        onQuestion(2);
        TForm1::hidePanel(form->MultiPanel);
        TForm1::showPanel(form->YesNoPanel);

        QTest::mouseClick(form->IFinish, Qt::LeftButton);

        QVERIFY(desktop->dialogs.shown.empty());
        QCOMPARE(form->score, right);
        for (int q = 1; q <= 5; ++q)
            QCOMPARE(form->questionRight[q], q <= right);
        for (QWidget* panel :
             {form->QuestionPanel, form->MultiPanel, form->orderpanel, form->SinglePanel})
            QVERIFY(hidden(panel));
        QVERIFY(form->YesNoPanel->isHidden());
        QVERIFY(enabled(form->YesNoPanel)); // only made invisible
        QVERIFY(shown(form->ResultPanel));
        QVERIFY(hidden(form->StartPanel)); // left as it was

        QCOMPARE(form->Iresulttest->surface(), drawnAlone(form->Iresulttest, "Test Name:Shapes"));
        QCOMPARE(form->Ichildname->surface(), drawnAlone(form->Ichildname, "Test Result for :Ann"));
        QCOMPARE(form->Iscore->surface(), drawnAlone(form->Iscore, line.toStdString()));
    }

    void reviewPassword_data() {
        QTest::addColumn<QStringList>("typed"); // empty: Cancel
        QTest::addColumn<bool>("accepted");
        QTest::newRow("wrong") << QStringList{"MARBLE"} << false;
        QTest::newRow("cancel") << QStringList{} << false;
        QTest::newRow("blank around it") << QStringList{" MARBLETS"} << false;
        QTest::newRow("upper case") << QStringList{"MARBLETS"} << true;
        QTest::newRow("lower case") << QStringList{"marblets"} << true;
        QTest::newRow("mixed case") << QStringList{"MarBlets"} << true;
    }
    void reviewPassword() {
        QFETCH(QStringList, typed);
        QFETCH(bool, accepted);
        finishFive(4);
        for (const QString& text : typed)
            desktop->dialogs.inputAnswers.push_back(text);

        QTest::mouseClick(form->IReview, Qt::LeftButton);

        QCOMPARE(desktop->dialogs.shown.size(), std::size_t{1});
        const FakeDialogs::Shown& box = desktop->dialogs.shown.front();
        QCOMPARE(box.kind, QString("input"));
        QCOMPARE(box.caption, QString("Review Password"));
        QCOMPARE(box.text, QString("Please enter password to review questions"));
        QCOMPARE(bool(form->reviewMode), accepted);
        QCOMPARE(shown(form->ResultPanel), !accepted);
        QCOMPARE(shown(form->QuestionPanel), accepted);
        QCOMPARE(form->currentQuestion, accepted ? 1 : 5);
        if (accepted) {
            QVERIFY(hidden(form->FrontPanel));
            QVERIFY(QString::fromStdString(desktop->browsers.lastUrl("Question"))
                        .endsWith("question1.htm"));
        }
    }

    void finishingAgainInReviewMarksAgain() {
        finishFive(3);
        desktop->dialogs.inputAnswers = {"marblets"};
        QTest::mouseClick(form->IReview, Qt::LeftButton);
        QVERIFY(form->reviewMode);
        form->store.userMarks[4][2] = 0;
        form->store.userMarks[4][1] = 1;

        QTest::mouseClick(form->IFinish, Qt::LeftButton);

        QCOMPARE(form->score, 4);
        QVERIFY(shown(form->ResultPanel));
        QCOMPARE(form->Iscore->surface(),
                 drawnAlone(form->Iscore, "Score: 4 out of  5     Well Done! "));
    }

    // Back from question 1 of a review to the front page, and on again by the start image or by
    // Enter alike: still reviewing, the marked answers kept and still closed to changes.
    void reviewGoesOnFromFrontPageInReview_data() {
        QTest::addColumn<bool>("startImage");
        QTest::newRow("start image") << true;
        QTest::newRow("Enter") << false;
    }
    void reviewGoesOnFromFrontPageInReview() {
        QFETCH(bool, startImage);
        finishFive(3);
        desktop->dialogs.inputAnswers = {"marblets"};
        QTest::mouseClick(form->IReview, Qt::LeftButton);
        QTest::mouseClick(form->IPrevious, Qt::LeftButton);
        QCOMPARE(form->currentQuestion, 0);
        QVERIFY(shown(form->FrontPanel));
        const QuestionStore marked = form->store;

        if (startImage)
            QTest::mouseClick(form->ClickStart, Qt::LeftButton);
        else
            QTest::keyClick(form.get(), Qt::Key_Return);

        QCOMPARE(form->currentQuestion, 1);
        QVERIFY(form->reviewMode);
        QVERIFY(shown(form->QuestionPanel));
        QVERIFY(form->CorrMult->isVisible());
        QTest::mouseClick(form->AnswerBoxes[1], Qt::LeftButton);
        QTest::keyClick(form.get(), Qt::Key_B);
        for (int q = 1; q <= 5; ++q)
            for (int j = 1; j <= 5; ++j)
                QCOMPARE(form->store.userMarks[q][j], marked.userMarks[q][j]);
        QTest::mouseClick(form->IFinish, Qt::LeftButton);
        QCOMPARE(form->score, 3);
    }

    void reset_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }
    void reset() {
        QFETCH(bool, yes);
        form->EStartName->setText("Ann");
        answerFive(form->store, 4);
        onQuestion(3);
        form->reviewMode = 1;
        form->Questionno->setVisible(true);
        desktop->dialogs.yesAnswers = {yes};

        QTest::mouseClick(form->IReset, Qt::LeftButton);

        QCOMPARE(desktop->dialogs.texts("confirm"), QStringList{kRestart});
        QCOMPARE(bool(form->reviewMode), !yes);
        QCOMPARE(form->testName, Text("Shapes")); // the test stays loaded, and named
        QCOMPARE(form->pupilName, yes ? Text() : Text("Ann"));
        QCOMPARE(form->currentQuestion, yes ? -1 : 3);
        QCOMPARE(shown(form->StartPanel), yes);
        QCOMPARE(hidden(form->QuestionPanel), yes);
        QCOMPARE(form->Questionno->isHidden(), yes);
        QCOMPARE(form->EStartName->text(), QString("Ann"));
        QCOMPARE(form->store.userMarks[1][1], 1); // answers stay until a test is opened again
    }
};

QTEST_MAIN(ResultsTest)
#include "test_results.moc"
