// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader says as the screens change. It speaks what takes the focus (a change of
// the focused object's name is not reliably spoken), so a page that opens and an answer given
// by a key put the focus where their words are; that move is made only while a screen reader
// listens, so that the focus of a pupil without one stays where it was.
#include "pupil/form.h"
#include "pupil/screen_reader_text.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace corvane {
namespace {

bool screenReaderListens() {
    return QAccessible::isActive();
}

const QString kLetters = QStringLiteral("ABCDE");

} // namespace

void TForm1::buildScreenReaderText() {
    FrontWords = new ScreenReaderText(Front->widget(), "FrontWords");
    // Two, used in turn: a screen reader speaks an object that takes the focus, not reliably
    // a change of the focused one's name, so each question's words come in a fresh object.
    QuestionWords = new ScreenReaderText(Question->widget(), "QuestionWords");
    spareQuestionWords_ = new ScreenReaderText(Question->widget(), "QuestionWords2");
    spareQuestionWords_->hide();
    for (ScreenReaderText* words : {QuestionWords, spareQuestionWords_})
        words->setAnswerBox(singleenter);
    // The order so far is told with each order button and the Clear button.
    connect(Order, &ImageControl::shownTextChanged, this, [this](const QString& order) {
        const QString told = "Order: " + order.trimmed();
        for (ImageControl* button : OrderPlaces)
            button->setAccessibleDescription(told);
        Iclear->setAccessibleDescription(told + ". " + Iclear->toolTip());
    });
    // The results screen puts the focus on the score line; the lines above it are told there,
    // after the score.
    for (ImageControl* line : {Iresulttest, Ichildname, Iscore})
        connect(line, &ImageControl::shownTextChanged, this, [this] {
            QStringList told;
            for (const ImageControl* shown : {Iscore, Iresulttest, Ichildname})
                if (!shown->shownText().trimmed().isEmpty()) told << shown->shownText().trimmed();
            Iscore->setAccessibleName(told.join(". "));
        });
}

// The words of the page just put on screen, with the caption; while reviewing, the verdict.
void TForm1::speakPage() {
    forgetUnticked(nullptr);
    ScreenReaderText* words = FrontWords;
    ScreenReaderText* done = nullptr;
    if (currentQuestion > 0) {
        std::swap(QuestionWords, spareQuestionWords_);
        words = QuestionWords;
        done = spareQuestionWords_;
        words->show();
        QString said =
            spokenPage(QString("Question %1 of %2").arg(currentQuestion).arg(store.questionCount),
                       pageFileBytes(questionPagePath));
        if (reviewMode)
            for (const ImageControl* verdict :
                 {CorrectSingle, CorrMult, YesNoCorrect, OrderCorrect})
                if (verdict->isVisibleTo(this) && !verdict->shownText().trimmed().isEmpty())
                    said += verdict->shownText().trimmed() == "Correct"
                                ? QString(" Marked correct.")
                                : " Marked wrong: " + verdict->shownText().trimmed() + '.';
        QuestionWords->setSpoken(said);
    } else {
        FrontWords->setSpoken(spokenPage({}, pageFileBytes(frontPagePath)));
    }
    const bool hadFocus = done && done->hasFocus();
    if (!screenReaderListens() && !hadFocus) {
        if (done) done->hide();
        return;
    }
    // Once the handler has shown the screen.
    QTimer::singleShot(0, words, [this, words, done = QPointer<ScreenReaderText>(done)] {
        const QWidget* focused = QApplication::focusWidget();
        if (words->isVisible() && (!focused || ownsFocusOf(focused)))
            words->setFocus(Qt::OtherFocusReason);
        if (done && done != QuestionWords) done->hide();
    });
}

// After an answer key, the focus goes to the control it changed, so that its new state is heard.
void TForm1::followAnswerKey(std::uint16_t key) {
    if (!screenReaderListens() || currentQuestion <= 0 || !QuestionPanel->isVisibleTo(this) ||
        qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        return;
    const std::int32_t type = store.questionType[currentQuestion];
    const int letter = kLetters.indexOf(QChar(key));
    ImageControl* changed = nullptr;
    if ((type == KSINGLECHOICE || type == KMULTICHOICE) && letter >= 0)
        changed = AnswerBoxes[letter];
    else if (type == KYESNO && (key == 'Y' || key == 'N'))
        changed = key == 'Y' ? YesSelect : NoSelect;
    else if ((type == KORDER || type == KORDERUSER) && (letter >= 0 || key == 8))
        changed = letter >= 0 ? OrderPlaces[letter] : Iclear;
    if (changed && changed->isVisible()) changed->setFocus(Qt::OtherFocusReason);
}

// Ticking an option that unticks another says so, in the description of the one ticked.
void TForm1::tellUnticked(const OptionRow& before, std::int32_t option) {
    const OptionRow& after = store.userMarks[currentQuestion];
    const bool yesNo = store.questionType[currentQuestion] == KYESNO;
    QStringList unticked;
    for (int k = 1; k <= kMaxOptions; ++k)
        if (k != option && before[k] && !after[k])
            unticked << (yesNo ? (k == 1 ? "Yes" : "No") : QString("Option ") + kLetters[k - 1]);
    if (option < 1 || option > kMaxOptions) return;
    ImageControl* box = yesNo ? (option == 1 ? YesSelect : NoSelect) : AnswerBoxes[option - 1];
    forgetUnticked(box);
    const QString told = unticked.isEmpty() ? QString() : unticked.join(", ") + " unticked";
    if (box->accessibleDescription() != told) box->setAccessibleDescription(told);
}

void TForm1::forgetUnticked(const ImageControl* except) {
    for (ImageControl* box : {AnswerBoxes[0], AnswerBoxes[1], AnswerBoxes[2], AnswerBoxes[3],
                              AnswerBoxes[4], YesSelect, NoSelect})
        if (box != except && !box->accessibleDescription().isEmpty())
            box->setAccessibleDescription({});
}

} // namespace corvane
