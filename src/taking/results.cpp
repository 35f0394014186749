// Finishing a run: the completeness question, marking, the results screen, restarting and the
// password-guarded review of a marked test.
#include "app/form.h"
#include "taking/marking_rules.h"

namespace corvane {

namespace {

constexpr TColor kResultsFill = 0xC0C0D0;

} // namespace

void TForm1::IFinishClick(QObject*) {
    if (currentQuestion <= 0) return;

    Completeness check = checkCompleteness(store);
    if (!check.allAnswered) {
        // While reviewing, an incomplete test is left as it is.
        if (reviewMode) return;
        if (seams().dialogs.confirm(
                "You haven`t answered all the questions, do you really want to finish?"))
            check.allAnswered = true;
        currentQuestion = check.firstUnanswered;
        drawquestion();
        if (!check.allAnswered) return;
    }

    for (QWidget* panel : {QuestionPanel, MultiPanel, orderpanel, SinglePanel})
        hidePanel(panel);
    YesNoPanel->setVisible(false);
    showPanel(ResultPanel);

    markAll(store, questionRight, score);

    DrawButton1(Iresulttest, 18, 20, "Test Name:" + testName, 1);
    DrawButton1(Ichildname, 18, 20, "Test Result for :" + pupilName, 1);
    Clearscreen2(Iscore, kResultsFill);
    DrawButton1(Iscore, 18, 20, scoreLine(score, store.questionCount), 1);
}

void TForm1::IResetClick(QObject*) {
    if (!seams().dialogs.confirm(
            "This will restart the test from the begining, do you want to continue?"))
        return;
    reviewMode = 0;
    for (QWidget* panel : {StartPanel, ResultPanel, MultiPanel})
        hidePanel(panel);
    YesNoPanel->setVisible(false);
    hidePanel(QuestionPanel);
    hidePanel(FrontPanel);
    Questionno->setVisible(false);
    testName.clear();
    begintest();
}

void TForm1::IReviewClick(QObject*) {
    const QString typed = seams().dialogs.inputBox(
        "Review Password", "Please enter password to review questions", QString());
    if (upperCase(fromQt(typed)) != "MARBLETS") return;
    reviewMode = 1;
    hidePanel(ResultPanel);
    hidePanel(FrontPanel);
    showPanel(QuestionPanel);
    currentQuestion = 1;
    drawquestion();
}

} // namespace corvane
