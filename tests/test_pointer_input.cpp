// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/panel_texts.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"

#include <QLineEdit>
#include <QtTest>

using corvane::ImageControl;
using corvane::Text;
using corvane::TForm1;

namespace {

constexpr int kQ = 2;

QList<int> marksOf(const TForm1& form) {
    QList<int> marks;
    for (int k = 1; k <= 5; ++k)
        marks << form.store.userMarks[kQ][k];
    return marks;
}

} // namespace

class PointerInputTest : public QObject {
    Q_OBJECT

    corvane::testing::FakeDesktop desktop;
    std::unique_ptr<TForm1> form;

    // Puts question kQ on screen: its type, options and panel, drawn from the store.
    void showQuestion(int type, int optionCount) {
        using namespace corvane;
        form->store.questionCount = 3;
        form->store.questionType[kQ] = type;
        form->store.optionCount[kQ] = optionCount;
        form->store.orderNext[kQ] = 1;
        for (int k = 1; k <= 5; ++k)
            form->store.optionLabel[kQ][k] = Text(1, char('A' + k - 1));
        form->currentQuestion = kQ;
        TForm1::showPanel(form->QuestionPanel);
        switch (type) {
        case KSINGLECHOICE:
        case KMULTICHOICE:
            TForm1::showPanel(form->MultiPanel);
            form->drawmultiple();
            break;
        case KYESNO:
            TForm1::showPanel(form->YesNoPanel);
            form->drawmultiple();
            break;
        case KORDER:
        case KORDERUSER:
            TForm1::showPanel(form->orderpanel);
            form->draworder();
            break;
        default:
            TForm1::showPanel(form->SinglePanel);
            form->drawsingle();
            break;
        }
    }

    ImageControl* image(const QString& name) {
        auto* found = form->findChild<ImageControl*>(name);
        if (!found) qFatal("no image %s", qPrintable(name));
        return found;
    }

    // A click on a choice or the clear image, a press on an order place.
    void act(const QString& name) {
        if (name.startsWith("Order"))
            QTest::mousePress(image(name), Qt::LeftButton);
        else
            QTest::mouseClick(image(name), Qt::LeftButton);
    }

    QImage orderBoxWith(const Text& text) {
        ImageControl scratch;
        scratch.resize(form->Order->size());
        form->DrawButton2(&scratch, 16, 1, text, 1);
        return scratch.surface();
    }

    void typeKey(Qt::Key key) { QTest::keyClick(form->singleenter, key); }

  private slots:
    void initTestCase() {
        corvane::registerFontSubstitutes();
        desktop.display.size = {800, 600};
    }
    void init() {
        form = std::make_unique<TForm1>(desktop.seams());
        desktop.dialogs.clear();
    }
    void cleanup() {
        QCOMPARE(desktop.dialogs.texts("error"), QStringList());
        form.reset();
    }

    void choices_data() {
        using namespace corvane;
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("optionCount");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QList<int>>("marks");
        QTest::addRow("single: B then C")
            << int(KSINGLECHOICE) << 3 << QStringList{"Answer2", "answer3"} << QList{0, 0, 1, 0, 0};
        QTest::addRow("single: B, C, C by tile")
            << int(KSINGLECHOICE) << 3 << QStringList{"ManB", "answer3", "ManC"}
            << QList{0, 0, 1, 0, 0};
        QTest::addRow("multi: A, C, A")
            << int(KMULTICHOICE) << 5 << QStringList{"Answer1", "answer3", "ManA"}
            << QList{0, 0, 1, 0, 0};
        QTest::addRow("multi: E, B")
            << int(KMULTICHOICE) << 5 << QStringList{"answer5", "ManB"} << QList{0, 1, 0, 0, 1};
        QTest::addRow("yes/no, 2 options: Yes then No")
            << int(KYESNO) << 2 << QStringList{"YesSelect", "NoSelect"} << QList{0, 1, 0, 0, 0};
        QTest::addRow("yes/no, 2 options: Yes twice")
            << int(KYESNO) << 2 << QStringList{"YesSelect", "YesSelect"} << QList{1, 0, 0, 0, 0};
        QTest::addRow("yes/no, 1 option: No then Yes")
            << int(KYESNO) << 1 << QStringList{"NoSelect", "YesSelect"} << QList{1, 1, 0, 0, 0};
        QTest::addRow("yes/no, 1 option: Yes then No")
            << int(KYESNO) << 1 << QStringList{"YesSelect", "NoSelect"} << QList{0, 1, 0, 0, 0};
        QTest::addRow("yes/no, no options: Yes, No, Yes")
            << int(KYESNO) << 0 << QStringList{"YesSelect", "NoSelect", "YesSelect"}
            << QList{0, 1, 0, 0, 0};
        QTest::addRow("word Yes acts as its box")
            << int(KYESNO) << 2 << QStringList{"NoSelect", "YesL"} << QList{1, 0, 0, 0, 0};
        QTest::addRow("word No acts as its box")
            << int(KYESNO) << 2 << QStringList{"YesSelect", "NoL"} << QList{0, 1, 0, 0, 0};
    }
    void choices() {
        QFETCH(int, type);
        QFETCH(int, optionCount);
        QFETCH(QStringList, clicks);
        QFETCH(QList<int>, marks);
        showQuestion(type, optionCount);
        for (const QString& name : clicks)
            act(name);
        QCOMPARE(marksOf(*form), marks);

        // Each box shows its stored mark.
        const bool yesNo = type == corvane::KYESNO;
        const QList<ImageControl*> boxes =
            yesNo ? QList{form->YesSelect, form->NoSelect}
                  : QList<ImageControl*>(form->AnswerBoxes.begin(), form->AnswerBoxes.end());
        for (int k = 0; k < boxes.size(); ++k) {
            ImageControl expected;
            expected.resize(boxes[k]->size());
            form->DrawButton(&expected, form->iticks, marks[k]);
            QCOMPARE(boxes[k]->surface(), expected.surface());
        }
    }

    void orders_data() {
        QTest::addColumn<int>("optionCount");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QList<int>>("marks");
        QTest::addColumn<int>("orderNext");
        QTest::addColumn<QString>("shown");
        QTest::addRow("nothing placed")
            << 4 << QStringList{} << QList{0, 0, 0, 0, 0} << 1 << "???? ";
        QTest::addRow("C then A") << 4 << QStringList{"OrderC", "OrderA"} << QList{3, 1, 0, 0, 0}
                                  << 3 << "C A ?? ";
        QTest::addRow("C, A, C, B: repeat ignored")
            << 3 << QStringList{"OrderC", "OrderA", "OrderC", "OrderB"} << QList{3, 1, 2, 0, 0} << 4
            << "C A B  ";
        QTest::addRow("full order ignores more presses")
            << 2 << QStringList{"OrderB", "OrderA", "OrderB", "OrderA"} << QList{2, 1, 0, 0, 0} << 3
            << "B A  ";
        QTest::addRow("A, clear, B") << 4 << QStringList{"OrderA", "Iclear", "OrderB"}
                                     << QList{2, 0, 0, 0, 0} << 2 << "B ??? ";
    }
    void orders() {
        QFETCH(int, optionCount);
        QFETCH(QStringList, actions);
        QFETCH(QList<int>, marks);
        QFETCH(int, orderNext);
        QFETCH(QString, shown);
        showQuestion(corvane::KORDER, optionCount);
        for (const QString& name : actions)
            act(name);
        QCOMPARE(marksOf(*form), marks);
        QCOMPARE(form->store.orderNext[kQ], orderNext);
        QCOMPARE(QString::fromStdString(corvane::pupilOrderText(form->store, kQ)), shown);
        QCOMPARE(form->Order->surface(), orderBoxWith(shown.toStdString()));
    }

    void fixedItemInPupilOrder() {
        form->store.fixedItemPos[kQ] = 2;
        form->store.fixedItemText[kQ] = "<";
        showQuestion(corvane::KORDERUSER, 3);
        act("OrderC");
        QCOMPARE(form->Order->surface(), orderBoxWith("C < ?? "));
    }

    void typing_data() {
        QTest::addColumn<QString>("typed");
        QTest::addRow("spaces kept") << "  12 ";
        QTest::addRow("pound sign") << QString::fromLatin1("\xA3"
                                                           "3.50");
        QTest::addRow("letters as typed") << "aBc";
    }
    void typing() {
        QFETCH(QString, typed);
        showQuestion(corvane::KWORD, 0);
        QTest::keyClicks(form->singleenter, typed);
        QCOMPARE(form->store.userText[kQ], corvane::fromQt(typed));
        QCOMPARE(form->store.userText[1], Text());
    }

    void deletingAllStoresEmpty() {
        form->store.userText[kQ] = "42";
        showQuestion(corvane::KCURRENCY, 0);
        QCOMPARE(form->singleenter->text(), QString("42"));
        typeKey(Qt::Key_End);
        typeKey(Qt::Key_Backspace);
        QCOMPARE(form->store.userText[kQ], Text("4"));
        typeKey(Qt::Key_Backspace);
        QCOMPARE(form->store.userText[kQ], Text());
    }

    // The loader empties the box while no question is on screen: nothing is stored, no error.
    void changeWithoutQuestionStoresNothing_data() {
        QTest::addColumn<int>("stage");
        QTest::addRow("start screen") << -1;
        QTest::addRow("front page") << 0;
        QTest::addRow("beyond the test") << 4;
    }
    void changeWithoutQuestionStoresNothing() {
        QFETCH(int, stage);
        form->store.questionCount = 3;
        form->store.userText[kQ] = "kept";
        form->currentQuestion = stage;
        form->singleenter->setText("typed");
        form->singleenter->clear();
        QCOMPARE(form->store.userText[kQ], Text("kept"));
    }

    // The review is read-only: no pointer input or typing changes the answers, and the panel
    // is not redrawn (a mark changed behind its back stays unseen).
    void reviewIsReadOnly_data() {
        using namespace corvane;
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("action");
        QTest::addRow("choice box") << int(KMULTICHOICE) << "Answer2";
        QTest::addRow("yes/no word") << int(KYESNO) << "NoL";
        QTest::addRow("order place") << int(KORDER) << "OrderC";
        QTest::addRow("order clear") << int(KORDER) << "Iclear";
        QTest::addRow("typing") << int(KWORD) << "";
    }
    void reviewIsReadOnly() {
        QFETCH(int, type);
        QFETCH(QString, action);
        form->store.userMarks[kQ][1] = 1;
        form->store.userText[kQ] = "7";
        form->reviewMode = 1;
        showQuestion(type, 3);
        form->store.orderNext[kQ] = 2;
        ImageControl* watched = type == corvane::KORDER   ? form->Order
                                : type == corvane::KYESNO ? form->YesSelect
                                                          : form->AnswerBoxes[0];
        const QImage before = watched->surface();
        form->store.userMarks[kQ][1] = 0; // unseen unless redrawn
        if (action.isEmpty())
            QTest::keyClicks(form->singleenter, "8");
        else
            act(action);
        QCOMPARE(marksOf(*form), QList({0, 0, 0, 0, 0}));
        QCOMPARE(form->store.orderNext[kQ], 2);
        QCOMPARE(form->store.userText[kQ], Text("7"));
        QCOMPARE(watched->surface(), before);
    }

    // The routine shared by the clicks and the keys has no review check of its own: both
    // callers refuse while reviewing before they call it. Called directly, it records.
    void recordOptionInReview() {
        showQuestion(corvane::KSINGLECHOICE, 3);
        form->reviewMode = 1;
        form->recordOption(2);
        form->recordOption(3);
        QCOMPARE(marksOf(*form), QList({0, 0, 1, 0, 0}));
    }
};

QTEST_MAIN(PointerInputTest)
#include "test_pointer_input.moc"
