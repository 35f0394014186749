// SPDX-License-Identifier: GPL-3.0-or-later
// The stage of a run and the moves between the start screen, the front page and the
// questions; putting one question on screen.
#include "pupil/form.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <string>

namespace corvane {
namespace {

constexpr TColor kCaptionOrange = 0x0099FF;
constexpr int kCaptionCentre = 242; // one more than the caption's width, as the layout has it
const char* const kStartHint = "Click here to start the test";

// The last question that the store holds. A test file that claims more than 30 questions fails
// to load at question 31 but keeps its count; the moves never go beyond question 30.
std::int32_t lastQuestion(const QuestionStore& store) {
    return std::min(store.questionCount, kMaxQuestions);
}

} // namespace

void TForm1::begintest() {
    showPanel(StartPanel);
    hidePanel(ResultPanel);
    hidePanel(YesNoPanel);
    hidePanel(MultiPanel);
    hidePanel(FrontPanel);
    pupilName.clear();
    QFont nameFont = EStartName->font();
    nameFont.setPixelSize(pointsToPixels(16));
    EStartName->setFont(nameFont);
    LheaderName->setText("Name: ");
    currentQuestion = -1;
    Questionno->setToolTip(kStartHint);
}

void TForm1::drawquestion() {
    const std::int32_t q = currentQuestion;
    Questionno->setToolTip(QString());
    printquestionno("Question " + std::to_string(q) + "/" + std::to_string(store.questionCount));
    questionPagePath = questionPage(q);
    Question->Navigate("file://" + questionPagePath);
    if (q < lastQuestion(store)) Question->loadAhead("file://" + questionPage(q + 1));

    // Each choice shows its panel first and then hides the other three.
    const std::int32_t type = store.questionType[q];
    auto choose = [this](QWidget* shown) {
        showPanel(shown);
        for (QWidget* panel : {MultiPanel, YesNoPanel, SinglePanel, orderpanel})
            if (panel != shown) hidePanel(panel);
    };
    if (type == KSINGLECHOICE || type == KMULTICHOICE) {
        choose(MultiPanel);
        drawmultiple();
    } else if (type == KYESNO) {
        choose(YesNoPanel);
        drawmultiple();
    } else if (isTypedAnswer(type)) {
        choose(SinglePanel);
        Curr->setVisible(type == KCURRENCY);
        if (type == KMULTIENTRYMULTI)
            drawmultientry();
        else
            drawsingle();
        singleenter->setFocus();
    } else if (type == KORDER || type == KORDERUSER) {
        choose(orderpanel);
        draworder();
    }
    speakPage();
}

Text TForm1::questionPage(std::int32_t q) const {
    return testPageFolder + "/question" + std::to_string(q) + ".htm";
}

void TForm1::printquestionno(const Text& caption) {
    Clearscreen(Questionno, kCaptionOrange);
    CanvasState& canvas = Questionno->canvas();
    canvas.fontColor = Qt::black;
    canvas.brushClear = true;
    canvas.fontSize = 12;
    canvas.fontBold = true;
    canvas.fontName = "Arial";
    const QString shown = toQt(caption);
    Questionno->textOut((kCaptionCentre - Questionno->textWidth(shown)) / 2, 2, shown);
}

void TForm1::goOn() {
    if (currentQuestion > 0 && currentQuestion < lastQuestion(store)) ++currentQuestion;
    if (currentQuestion == -1) {
        if (acceptPupilName()) drawfrontpage();
        return;
    }
    if (currentQuestion == 0 && !leaveFrontPage()) return;
    if (currentQuestion > 0) drawquestion();
}

bool TForm1::leaveFrontPage() {
    // A test without questions has nothing to go on to: back to the start screen, where the
    // typed name stays and another test can be picked.
    if (store.questionCount < 1) {
        seams().dialogs.showMessage("This test has no questions");
        begintest();
        return false;
    }
    hidePanel(FrontPanel);
    showPanel(QuestionPanel);
    currentQuestion = 1;
    return true;
}

void TForm1::INextMouseDown(QObject*, Qt::MouseButton Button, Qt::KeyboardModifiers, int, int) {
    if (Button == Qt::LeftButton) goOn();
}

void TForm1::IPreviousMouseDown(QObject*, Qt::MouseButton Button, Qt::KeyboardModifiers, int, int) {
    if (Button != Qt::LeftButton || currentQuestion < 0) return;
    --currentQuestion;
    if (currentQuestion == -1) {
        begintest();
    } else if (currentQuestion == 0) {
        // Back from question 1 to the front page screen, not just its page.
        hidePanel(QuestionPanel);
        showPanel(FrontPanel);
        drawfrontpage();
    } else {
        drawquestion();
    }
}

void TForm1::IRewMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    if (currentQuestion <= 0) return;
    currentQuestion = 1;
    drawquestion();
}

void TForm1::IFFMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    if (currentQuestion <= 0) return;
    currentQuestion = lastQuestion(store);
    drawquestion();
}

} // namespace corvane
