// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/panel_texts.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"

#include <QLineEdit>
#include <QtTest>

using corvane::ImageControl;
using corvane::QuestionStore;
using corvane::Text;
using corvane::TForm1;

namespace {

constexpr int kQ = 2; // the question under test: not 1, so that a stray index shows

void setLabels(QuestionStore& store, const QStringList& labels) {
    for (int k = 0; k < labels.size(); ++k)
        store.optionLabel[kQ][k + 1] = labels[k].toStdString();
}

void setRow(corvane::OptionRow& row, const QList<int>& values) {
    for (int k = 0; k < values.size(); ++k)
        row[k + 1] = values[k];
}

// An order question of the given labels, right order and pupil's order.
QuestionStore orderQuestion(const QStringList& labels, const QList<int>& key,
                            const QList<int>& marks, int fixedPos = 0, const Text& fixed = "") {
    QuestionStore store;
    store.questionCount = 3;
    store.questionType[kQ] = fixedPos ? corvane::KORDERUSER : corvane::KORDER;
    store.optionCount[kQ] = static_cast<int>(labels.size());
    setLabels(store, labels);
    setRow(store.answerKey[kQ], key);
    setRow(store.userMarks[kQ], marks);
    store.fixedItemPos[kQ] = fixedPos;
    store.fixedItemText[kQ] = fixed;
    return store;
}

// One question of each panel family, all as question kQ of their own store.
QuestionStore questionOfType(int type) {
    using namespace corvane;
    QuestionStore store;
    store.questionCount = 3;
    store.questionType[kQ] = type;
    switch (type) {
    case KSINGLECHOICE:
    case KMULTICHOICE:
        store.optionCount[kQ] = 4;
        setRow(store.answerKey[kQ], {0, 1, 0, 1, 1}); // E lies beyond the options shown
        setRow(store.userMarks[kQ], {1, 0, 0, 1, 0});
        break;
    case KYESNO:
        store.optionCount[kQ] = 2;
        store.answerKey[kQ][1] = 1;
        store.userMarks[kQ][2] = 1;
        break;
    case KORDER:
        return orderQuestion({"A", "B", "C", "D"}, {3, 1, 4, 2}, {2, 0, 0, 0});
    case KMULTIENTRYMULTI:
        store.altCount[kQ] = 2;
        store.altText[kQ][1] = "12";
        store.altText[kQ][2] = "twelve";
        store.userText[kQ] = "12";
        break;
    default: // typed answers
        store.answerText[kQ] = "1,000";
        store.userText[kQ] = " 1,000 "; // equal once normalised, whatever the marking said
        break;
    }
    return store;
}

struct PanelParts {
    QWidget* panel;
    ImageControl* result;
    QWidget* frame;
    void (TForm1::*draw)();
};

PanelParts partsFor(TForm1& form, int type) {
    using namespace corvane;
    switch (type) {
    case KSINGLECHOICE:
    case KMULTICHOICE:
        return {form.MultiPanel, form.CorrMult, form.BCorrMult, &TForm1::drawmultiple};
    case KYESNO:
        return {form.YesNoPanel, form.YesNoCorrect, form.BYesNoCorrect, &TForm1::drawmultiple};
    case KORDER:
    case KORDERUSER:
        return {form.orderpanel, form.OrderCorrect, form.Bordercorrect, &TForm1::draworder};
    case KMULTIENTRYMULTI:
        return {form.SinglePanel, form.CorrectSingle, form.BCorrectSingle, &TForm1::drawmultientry};
    default:
        return {form.SinglePanel, form.CorrectSingle, form.BCorrectSingle, &TForm1::drawsingle};
    }
}

// What a box of this size shows when drawn with the given text.
QImage boxWith(TForm1& form, QSize size, int fontSize, int y, const Text& text) {
    ImageControl scratch;
    scratch.resize(size);
    form.DrawButton2(&scratch, fontSize, y, text, 1);
    return scratch.surface();
}

} // namespace

class AnswerPanelsTest : public QObject {
    Q_OBJECT

    corvane::testing::FakeDesktop desktop;
    std::unique_ptr<TForm1> form;

    // Puts question kQ of the store on screen with its panel and draws it.
    void drawQuestion(const QuestionStore& store, int type) {
        form->store = store;
        form->currentQuestion = kQ;
        const PanelParts parts = partsFor(*form, type);
        TForm1::showPanel(form->QuestionPanel);
        TForm1::showPanel(parts.panel);
        (form.get()->*parts.draw)();
    }

  private slots:
    void initTestCase() {
        corvane::registerFontSubstitutes();
        desktop.display.size = {800, 600};
    }
    void init() { form = std::make_unique<TForm1>(desktop.seams()); }
    void cleanup() { form.reset(); }

    void orderTexts_data() {
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QList<int>>("key");
        QTest::addColumn<QList<int>>("marks");
        QTest::addColumn<int>("fixedPos");
        QTest::addColumn<QString>("pupil");
        QTest::addColumn<QString>("right");
        const QStringList abcd = {"A", "B", "C", "D"};
        QTest::addRow("nothing placed") << abcd << QList{3, 1, 4, 2} << QList<int>{} << 0 << "???? "
                                        << "C A D B  ";
        QTest::addRow("C then A") << abcd << QList{3, 1, 4, 2} << QList{3, 1} << 0 << "C A ?? "
                                  << "C A D B  ";
        const QStringList numbers = {"7", "3", "5"};
        QTest::addRow("fixed item at 2") << numbers << QList{2, 3, 1} << QList{2} << 2 << "3 < ?? "
                                         << "3 < 5 7  ";
        QTest::addRow("fixed item first")
            << numbers << QList{2, 3, 1} << QList{2, 3, 1} << 1 << "< 3 5 7  "
            << "< 3 5 7  ";
        QTest::addRow("fixed item after the last place is left out")
            << numbers << QList{2, 3, 1} << QList<int>{} << 4 << "??? "
            << "3 5 7  ";
    }
    void orderTexts() {
        QFETCH(QStringList, labels);
        QFETCH(QList<int>, key);
        QFETCH(QList<int>, marks);
        QFETCH(int, fixedPos);
        QFETCH(QString, pupil);
        QFETCH(QString, right);
        const QuestionStore store = orderQuestion(labels, key, marks, fixedPos, "<");
        QCOMPARE(QString::fromStdString(corvane::pupilOrderText(store, kQ)), pupil);
        QCOMPARE(QString::fromStdString(corvane::rightOrderText(store, kQ)), right);
    }

    void choiceTexts_data() {
        QTest::addColumn<int>("optionCount");
        QTest::addColumn<QList<int>>("key");
        QTest::addColumn<QString>("choices");
        QTest::addColumn<QString>("yesNo");
        QTest::addRow("B and D") << 5 << QList{0, 1, 0, 1, 0} << "Right Answer :B D "
                                 << "No";
        QTest::addRow("A alone") << 2 << QList{1, 0} << "Right Answer :A "
                                 << "Yes";
        QTest::addRow("E beyond the options") << 4 << QList{0, 0, 1, 0, 1} << "Right Answer :C "
                                              << "No";
        QTest::addRow("none right") << 3 << QList<int>{} << "Right Answer :"
                                    << "No";
    }
    void choiceTexts() {
        QFETCH(int, optionCount);
        QFETCH(QList<int>, key);
        QFETCH(QString, choices);
        QFETCH(QString, yesNo);
        QuestionStore store;
        store.optionCount[kQ] = optionCount;
        setRow(store.answerKey[kQ], key);
        QCOMPARE(QString::fromStdString(corvane::rightChoicesText(store, kQ)), choices);
        QCOMPARE(QString::fromStdString(corvane::rightYesNoText(store, kQ)), yesNo);
    }

    void acceptedAnswersText() {
        QuestionStore store;
        QCOMPARE(corvane::acceptedAnswersText(store, kQ), Text());
        store.altCount[kQ] = 3;
        store.altText[kQ][1] = "12";
        store.altText[kQ][2] = "twelve";
        store.altText[kQ][3] = "a dozen";
        QCOMPARE(corvane::acceptedAnswersText(store, kQ), Text(" 12 twelve a dozen"));
    }

    // The result box shows the marking's verdict or the right answer, is drawn in every state,
    // and with its frame is seen only in review.
    void resultBox_data() {
        using namespace corvane;
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<int>("top");
        QTest::addRow("word, wrong") << int(KWORD) << false << "1,000" << 14 << -1;
        QTest::addRow("comma, marked wrong though alike")
            << int(KCOMMA) << false << "1,000" << 14 << -1;
        QTest::addRow("time, right") << int(KTIME) << true << "Correct" << 14 << -1;
        QTest::addRow("accepted answers, wrong")
            << int(KMULTIENTRYMULTI) << false << " 12 twelve" << 10 << -1;
        QTest::addRow("accepted answers, right")
            << int(KMULTIENTRYMULTI) << true << "Correct" << 10 << -1;
        QTest::addRow("multiple choice, wrong")
            << int(KMULTICHOICE) << false << "Right Answer :B D " << 14 << -1;
        QTest::addRow("single choice, right") << int(KSINGLECHOICE) << true << "Correct" << 14 << 1;
        QTest::addRow("yes/no, wrong") << int(KYESNO) << false << "Yes" << 14 << 1;
        QTest::addRow("yes/no, right") << int(KYESNO) << true << "Correct" << 14 << 1;
        QTest::addRow("order, wrong") << int(KORDER) << false << "C A D B  " << 14 << -1;
        QTest::addRow("order, right") << int(KORDER) << true << "Correct" << 14 << -1;
    }
    void resultBox() {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(int, fontSize);
        QFETCH(int, top);
        QFETCH(bool, right);
        const PanelParts parts = partsFor(*form, type);
        for (std::uint8_t review : {0, 1}) {
            form->reviewMode = review;
            form->questionRight[kQ] = right;
            drawQuestion(questionOfType(type), type);
            QCOMPARE(parts.result->surface(),
                     boxWith(*form, parts.result->size(), fontSize, top, text.toStdString()));
            QCOMPARE(parts.result->isVisibleTo(form.get()), review == 1);
            QCOMPARE(parts.frame->isVisibleTo(form.get()), review == 1);
        }
    }

    // The order box stays in both modes; in review it shows the pupil's order, unchanged.
    void orderBoxInBothModes() {
        for (std::uint8_t review : {0, 1}) {
            form->reviewMode = review;
            drawQuestion(questionOfType(corvane::KORDER), corvane::KORDER);
            QVERIFY(form->Order->isVisibleTo(form.get()));
            QVERIFY(form->Border->isVisibleTo(form.get()));
            QCOMPARE(form->Order->surface(), boxWith(*form, form->Order->size(), 16, 1, "B ??? "));
        }
    }

    void optionsBeyondCountHidden_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("optionCount");
        for (int count : {0, 3, 5}) {
            QTest::addRow("choice, %d options", count) << int(corvane::KMULTICHOICE) << count;
            QTest::addRow("order, %d options", count) << int(corvane::KORDER) << count;
        }
    }
    void optionsBeyondCountHidden() {
        QFETCH(int, type);
        QFETCH(int, optionCount);
        QuestionStore store = questionOfType(type);
        store.optionCount[kQ] = 5;
        drawQuestion(store, type); // all shown first, so hiding is checked too
        store.optionCount[kQ] = optionCount;
        drawQuestion(store, type);
        for (int k = 0; k < 5; ++k) {
            const bool shown = k < optionCount;
            if (type == corvane::KORDER) {
                QCOMPARE(form->OrderPlaces[k]->isVisibleTo(form.get()), shown);
            } else {
                QCOMPARE(form->ManLetters[k]->isVisibleTo(form.get()), shown);
                QCOMPARE(form->AnswerBoxes[k]->isVisibleTo(form.get()), shown);
            }
        }
    }

    // Each place is the blank place picture with its label written on it.
    // Each place is the blank place picture with its item's label drawn on it by Printf4, as a
    // scratch surface drawn the same way shows; places beyond the labels stay blank.
    void orderPlacesShowLabels() {
        QuestionStore store = orderQuestion({"B", "12", "D", "30"}, {1, 2, 3, 4}, {0, 0, 0, 0});
        drawQuestion(store, corvane::KORDER);
        const QStringList labels = {"B", "12", "D", "30", ""};
        for (int k = 0; k < 5; ++k) {
            ImageControl scratch;
            scratch.resize(25, 25);
            form->Clearscreen(&scratch, 0xFFFFFF);
            scratch.copyRect(QRect(0, 0, 28, 28), form->BlankOrder->picture());
            form->Printf4(&scratch, 0x000000, 18, 4, -6, labels[k].toStdString(), 0);
            QCOMPARE(form->OrderPlaces[k]->surface(), scratch.surface());
        }
    }

    void typedAnswerPutInEditBox_data() {
        QTest::addColumn<int>("type");
        QTest::addRow("word") << int(corvane::KWORD);
        QTest::addRow("accepted answers") << int(corvane::KMULTIENTRYMULTI);
    }
    void typedAnswerPutInEditBox() {
        QFETCH(int, type);
        QuestionStore store = questionOfType(type);
        store.userText[kQ] = "\xA3 5 ";
        drawQuestion(store, type);
        QCOMPARE(form->singleenter->text(), QString::fromLatin1("\xA3 5 "));
        QCOMPARE(form->store.userText[kQ], Text("\xA3 5 "));
    }

    void placesBeyondTheMarkRowRefused() {
        QuestionStore store = questionOfType(corvane::KORDER);
        store.optionCount[kQ] = 6;
        form->store = store;
        form->currentQuestion = kQ;
        try {
            form->draworder();
            QFAIL("an order of six places was drawn");
        } catch (const corvane::AppError& error) {
            QCOMPARE(QString(error.what()), QString("Range check error"));
        }
    }
};

QTEST_MAIN(AnswerPanelsTest)
#include "test_answer_panels.moc"
