// SPDX-License-Identifier: GPL-3.0-or-later
// Finishing a run: the completeness question, marking, the results screen, restarting, the
// password-guarded review of a marked test, the print-out and the class record.
#include "core/marking_rules.h"
#include "core/report.h"
#include "core/settings_file.h"
#include "pupil/form.h"
#include "pupil/record_keeper.h"

#include <QSysInfo>

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
    if (!reviewMode) {
        finishedAt = QDateTime::currentDateTime();
        saveClassRecord();
    }

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
    begintest(); // testName keeps naming the test still loaded, for the next pupil's run
}

void TForm1::IReviewClick(QObject*) {
    const QString typed = seams().dialogs.inputBox(
        "Review Password", "Please enter password to review questions", QString(), true);
    if (!reviewPasswordAccepted(seams().settings.read(), fromQt(typed))) return;
    reviewMode = 1;
    hidePanel(ResultPanel);
    hidePanel(FrontPanel);
    showPanel(QuestionPanel);
    currentQuestion = 1;
    drawquestion();
}

// The right answers are printed only once the teacher has opened the review with the password.
void TForm1::IprintClick(QObject*) {
    const Report report{testName,        pupilName,
                        finishedAt,      scoreLine(score, store.questionCount),
                        reviewMode == 1, reportRows(store, questionRight, reviewMode == 1)};
    seams().printer.print(report);
}

// The checksum is the one taken when the test was loaded: the file marked, even when it has
// been edited or moved since.
// Nothing here waits on a folder: the record is kept and sent off the window's thread, and the
// line under the score says where it is.
void TForm1::saveClassRecord() {
    showRecordNote({});
    const ProgramSettings settings = seams().settings.read();
    if (!RecordKeeper::recordOn(settings)) return;
    if (testChecksum.isEmpty()) {
        seams().dialogs.showMessage(
            saveFailureText(settings.resultsFolder, "no test file was loaded whole"));
        return;
    }
    recordKeeper_->save(settings, {finishedAt, QSysInfo::machineHostName(), pupilName, testName,
                                   testChecksum, score, reportRows(store, questionRight, false)});
}

} // namespace corvane
