// SPDX-License-Identifier: GPL-3.0-or-later
// Fills the answer panel of the question on screen from the store: the pupil's answer, and the
// result box, which is drawn in every state and shown only while reviewing.
#include "core/panel_texts.h"
#include "pupil/form.h"

#include <QLineEdit>

namespace corvane {
namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kBlack = 0x000000;
const Text kCorrect = "Correct";

void showIf(std::initializer_list<QWidget*> controls, bool visible) {
    for (QWidget* control : controls)
        control->setVisible(visible);
}

} // namespace

void TForm1::drawsingle() {
    const int q = currentQuestion;
    singleenter->setText(toQt(store.userText[q]));
    showIf({CorrectSingle, BCorrectSingle}, reviewMode == 1);
    // The verdict shown is the one the marking gave, so the review agrees with the score.
    DrawButton2(CorrectSingle, 14, -1, questionRight[q] ? kCorrect : rightAnswerText(store, q), 1);
}

void TForm1::drawmultientry() {
    const int q = currentQuestion;
    singleenter->setText(toQt(store.userText[q]));
    showIf({CorrectSingle, BCorrectSingle}, reviewMode == 1);
    DrawButton2(CorrectSingle, 10, -1, questionRight[q] ? kCorrect : rightAnswerText(store, q), 1);
}

void TForm1::drawmultiple() {
    const int q = currentQuestion;
    showIf({BCorrMult, CorrMult, BYesNoCorrect, YesNoCorrect}, reviewMode == 1);
    const OptionRow& marks = store.userMarks[q];
    if (store.questionType[q] != KYESNO) {
        // Each pair is set once, so that a box with the keyboard focus keeps it.
        for (int k = 1; k <= kMaxOptions; ++k)
            showIf({ManLetters[k - 1], AnswerBoxes[k - 1]}, store.optionCount[q] >= k);
        for (int k = 1; k <= kMaxOptions; ++k)
            DrawButton(AnswerBoxes[k - 1], iticks, marks[k]);
        if (questionRight[q])
            DrawButton2(CorrMult, 14, 1, kCorrect, 1);
        else
            DrawButton2(CorrMult, 14, -1, rightAnswerText(store, q), 1);
        return;
    }
    DrawButton(YesSelect, iticks, marks[1]);
    DrawButton(NoSelect, iticks, marks[2]);
    DrawButton2(YesNoCorrect, 14, 1, questionRight[q] ? kCorrect : rightAnswerText(store, q), 1);
}

void TForm1::draworder() {
    const int q = currentQuestion;
    for (int k = 1; k <= kMaxOptions; ++k) {
        ImageControl* place = OrderPlaces[k - 1];
        Clearscreen(place, kWhite);
        place->copyRect(QRect(0, 0, 28, 28), BlankOrder->picture());
        Printf4(place, kBlack, 18, 4, -6, store.optionLabel[q][k], 0);
    }
    // Each place is set once, so that a place with the keyboard focus keeps it.
    for (int k = 1; k <= kMaxOptions; ++k)
        OrderPlaces[k - 1]->setVisible(store.optionCount[q] >= k);
    DrawButton2(Order, 16, 1, pupilOrderText(store, q), 1);
    showIf({OrderCorrect, Bordercorrect}, reviewMode == 1);
    DrawButton2(OrderCorrect, 14, -1, questionRight[q] ? kCorrect : rightAnswerText(store, q), 1);
}

} // namespace corvane
