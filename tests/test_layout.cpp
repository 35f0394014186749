// SPDX-License-Identifier: GPL-3.0-or-later
// The window as built: every control by name, at its place, in its parent, in stacking order,
// with its hint and design-time visibility; the transparency of YesNoCorrect; the guard.
#include "core/app_error.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "pupil/pictures.h"
#include "support/fake_seams.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace corvane;
using namespace corvane::testing;

Q_DECLARE_METATYPE(corvane::Picture)

class LayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeDesktop> desktop;
    std::unique_ptr<TForm1> form;

    QWidget* control(const QString& name) { return form->findChild<QWidget*>(name); }

  private slots:
    void initTestCase() { registerFontSubstitutes(); }

    void init() {
        desktop = std::make_unique<FakeDesktop>();
        desktop->display.size = {800, 600};
        form = std::make_unique<TForm1>(desktop->seams());
    }
    void cleanup() {
        form.reset();
        desktop.reset();
    }

    void window() {
        QCOMPARE(form->windowTitle(), QString("Corvane Maths"));
        QCOMPARE(form->size(), QSize(790, 564));
        QCOMPARE(form->minimumSize(), QSize(790, 564));
        QCOMPARE(form->maximumSize(), QSize(790, 564));
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!form->windowIcon().isNull());
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        const auto row = [](const char* name, const char* parent, QRect geometry) {
            QTest::newRow(name) << QString(name) << QString(parent) << geometry;
        };
        row("LheaderName", "Form1", {510, 10, 211, 20});
        row("FrontPanel", "Form1", {0, 0, 791, 581});
        row("StartPanel", "Form1", {-5, 5, 796, 581});
        row("ResultPanel", "Form1", {0, -15, 791, 591});
        row("QuestionPanel", "Form1", {0, 0, 791, 576});
        row("FileRound", "StartPanel", {25, 25, 730, 516});
        row("IStartOk", "StartPanel", {640, 65, 63, 63});
        row("NameI", "StartPanel", {200, 102, 390, 66});
        row("StartTest", "StartPanel", {250, 170, 290, 43});
        row("EStartName", "StartPanel", {285, 120, 291, 31});
        row("FileList", "StartPanel", {195, 220, 391, 271});
        row("Front", "FrontPanel", {0, -10, 791, 526});
        row("ClickStart", "FrontPanel", {240, 517, 280, 40});
        row("Question", "QuestionPanel", {0, 0, 791, 481});
        row("QBack", "QuestionPanel", {5, 526, 250, 30});
        row("Questionno", "QuestionPanel", {10, 530, 241, 22});
        row("IRew", "QuestionPanel", {270, 528, 50, 25});
        row("IPrevious", "QuestionPanel", {330, 528, 50, 25});
        row("INext", "QuestionPanel", {395, 528, 50, 25});
        row("IFF", "QuestionPanel", {455, 528, 50, 25});
        row("IFinish", "QuestionPanel", {520, 528, 100, 25});
        row("IReset", "QuestionPanel", {625, 528, 100, 25});
        row("IHelp", "QuestionPanel", {730, 528, 50, 25});
        row("SinglePanel", "QuestionPanel", {0, 485, 781, 36});
        row("orderpanel", "QuestionPanel", {0, 485, 791, 35});
        row("YesNoPanel", "QuestionPanel", {5, 485, 786, 36});
        row("MultiPanel", "QuestionPanel", {5, 485, 786, 36});
        row("WordLabel", "SinglePanel", {5, 4, 100, 25});
        row("WordAnsI", "SinglePanel", {115, 3, 250, 29});
        row("Curr", "SinglePanel", {130, 7, 11, 22});
        row("singleenter", "SinglePanel", {150, 6, 206, 23});
        row("BCorrectSingle", "SinglePanel", {520, 2, 250, 29});
        row("CorrectSingle", "SinglePanel", {540, 5, 216, 23});
        const char* men[] = {"ManA", "ManB", "ManC", "ManD", "ManE"};
        const char* boxes[] = {"Answer1", "Answer2", "answer3", "answer4", "answer5"};
        const int manLefts[] = {5, 105, 200, 300, 395};
        const int boxLefts[] = {50, 150, 245, 345, 440};
        const char* places[] = {"OrderA", "OrderB", "OrderC", "OrderD", "OrderE"};
        for (int k = 0; k < 5; ++k) {
            row(men[k], "MultiPanel", {manLefts[k], 5, 25, 25});
            row(boxes[k], "MultiPanel", {boxLefts[k], 5, 25, 25});
            row(places[k], "orderpanel", {5 + 30 * k, 4, 25, 25});
        }
        row("BCorrMult", "MultiPanel", {510, 2, 250, 29});
        row("CorrMult", "MultiPanel", {530, 5, 201, 23});
        row("YesL", "YesNoPanel", {5, 5, 100, 25});
        row("YesSelect", "YesNoPanel", {115, 5, 28, 25});
        row("NoL", "YesNoPanel", {180, 5, 100, 25});
        row("NoSelect", "YesNoPanel", {290, 5, 28, 25});
        row("BYesNoCorrect", "YesNoPanel", {510, 2, 250, 29});
        row("YesNoCorrect", "YesNoPanel", {525, 5, 221, 23});
        row("Border", "orderpanel", {160, 2, 250, 29});
        row("Order", "orderpanel", {165, 5, 236, 23});
        row("Bordercorrect", "orderpanel", {420, 2, 250, 29});
        row("OrderCorrect", "orderpanel", {425, 5, 241, 23});
        row("BlankOrder", "orderpanel", {550, 7, 25, 25});
        row("Iclear", "orderpanel", {685, 4, 100, 25});
        row("Image1", "ResultPanel", {20, 20, 746, 516});
        row("Image5", "ResultPanel", {245, 110, 290, 43});
        row("Iresulttest", "ResultPanel", {170, 180, 440, 60});
        row("Ichildname", "ResultPanel", {165, 275, 440, 60});
        row("Iscore", "ResultPanel", {160, 375, 440, 60});
        row("Iprint", "ResultPanel", {30, 540, 100, 25});
        row("IQuit", "ResultPanel", {340, 540, 100, 25});
        row("IReview", "ResultPanel", {620, 540, 100, 25});
    }
    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        const QList<QWidget*> found = form->findChildren<QWidget*>(name);
        QCOMPARE(found.size(), 1); // names are unique
        QCOMPARE(found.front()->parentWidget()->objectName(), parent);
        QCOMPARE(found.front()->geometry(), geometry);
    }

    // Bottom to top; a later control must be drawn over an earlier one.
    void stackingOrder_data() {
        QTest::addColumn<QStringList>("order");
        QTest::newRow("screens") << QStringList{"LheaderName", "FrontPanel", "StartPanel",
                                                "ResultPanel", "QuestionPanel"};
        QTest::newRow("start screen")
            << QStringList{"FileRound", "NameI", "EStartName", "FileList"};
        QTest::newRow("typed answer")
            << QStringList{"WordAnsI", "Curr", "singleenter", "BCorrectSingle", "CorrectSingle"};
        QTest::newRow("choices") << QStringList{"BCorrMult", "CorrMult"};
        QTest::newRow("yes no") << QStringList{"BYesNoCorrect", "YesNoCorrect"};
        QTest::newRow("order") << QStringList{"Border", "Order", "Bordercorrect", "OrderCorrect"};
        QTest::newRow("results") << QStringList{"Image1", "Image5", "Iresulttest", "IReview"};
    }
    void stackingOrder() {
        QFETCH(QStringList, order);
        QWidget* parent = control(order.front())->parentWidget();
        QList<QWidget*> siblings;
        for (QObject* child : parent->children())
            if (child->isWidgetType()) siblings << static_cast<QWidget*>(child);
        int previous = -1;
        for (const QString& name : order) {
            const int index = siblings.indexOf(control(name));
            QVERIFY2(index > previous, qPrintable(name));
            previous = index;
        }
    }

    // Which picture each image control shows, and whether stretched to the control.
    void pictures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<bool>("stretch");
        const auto row = [](const char* name, Picture picture, bool stretch = false) {
            QTest::newRow(name) << QString(name) << picture << stretch;
        };
        row("FileRound", Picture::ScreenFrame);
        row("IStartOk", Picture::StartTestButton);
        row("NameI", Picture::NameField);
        row("StartTest", Picture::SelectTestBanner);
        row("ClickStart", Picture::ClickStartButton);
        row("QBack", Picture::QuestionBackdrop);
        row("IRew", Picture::FirstButton, true);
        row("IPrevious", Picture::PreviousButton, true);
        row("INext", Picture::NextButton, true);
        row("IFF", Picture::LastButton, true);
        row("IFinish", Picture::FinishButton, true);
        row("IReset", Picture::ResetButton, true);
        row("IHelp", Picture::HelpButton, true);
        row("WordLabel", Picture::AnswerLabel);
        row("WordAnsI", Picture::AnswerFrame);
        row("BCorrectSingle", Picture::AnswerFrame);
        const char* letters[] = {"ManA", "ManB", "ManC", "ManD", "ManE"};
        for (int k = 0; k < 5; ++k)
            row(letters[k], Picture(int(Picture::LetterA) + k), true);
        row("BCorrMult", Picture::AnswerFrame);
        row("YesL", Picture::YesButton, true);
        row("NoL", Picture::NoButton, true);
        row("BYesNoCorrect", Picture::AnswerFrame);
        row("Border", Picture::AnswerFrame);
        row("Bordercorrect", Picture::AnswerFrame);
        row("BlankOrder", Picture::BlankSquare);
        row("Iclear", Picture::ClearButton);
        row("Image1", Picture::ScreenFrame);
        row("Image5", Picture::TestResultsBanner);
        row("Iprint", Picture::PrintButton);
        row("IQuit", Picture::QuitButton);
        row("IReview", Picture::ReviewButton);
    }
    void pictures() {
        QFETCH(QString, name);
        QFETCH(Picture, picture);
        QFETCH(bool, stretch);
        auto* image = form->findChild<ImageControl*>(name);
        QVERIFY(image);
        QCOMPARE(image->picture(), drawPicture(picture));
        QCOMPARE(image->stretch(), stretch);
    }

    // The image list of the choice boxes: 0 not chosen, 1 chosen.
    void tickImages() {
        QCOMPARE(form->iticks.images[0], drawPicture(Picture::TickEmpty));
        QCOMPARE(form->iticks.images[1], drawPicture(Picture::TickChosen));
    }

    void designTimeVisibility() {
        for (const char* name : {"FrontPanel", "StartPanel", "ResultPanel", "QuestionPanel",
                                 "SinglePanel", "orderpanel", "YesNoPanel", "MultiPanel"})
            QVERIFY2(!control(name)->isHidden(), name);
        QVERIFY(form->Questionno->isHidden());
        QVERIFY(form->BlankOrder->isHidden());
        QVERIFY(!form->Curr->isHidden());
    }

    void hints_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        const QString next =
            "Click here to go next question. When you'v answered all the question press finish";
        QTest::newRow("INext") << "INext" << next;
        QTest::newRow("IFF") << "IFF" << next;
        QTest::newRow("IRew") << "IRew"
                              << "Click here to go back a question";
        QTest::newRow("IPrevious") << "IPrevious"
                                   << "Click here to go back a question";
        QTest::newRow("IFinish")
            << "IFinish"
            << "When you've answered all the questions, click here to finish the test";
        QTest::newRow("IReset") << "IReset"
                                << "Click here to restart test";
        QTest::newRow("IHelp") << "IHelp"
                               << "Click here for help file";
        QTest::newRow("EStartName") << "EStartName"
                                    << "Type your name here ";
        QTest::newRow("FileList") << "FileList"
                                  << "Click here to load a test";
        QTest::newRow("singleenter") << "singleenter"
                                     << "Enter the answer here ";
        QTest::newRow("orderpanel") << "orderpanel"
                                    << "Click the answers in the correct order ";
        QTest::newRow("YesNoPanel") << "YesNoPanel"
                                    << "Click which answers are right";
        QTest::newRow("MultiPanel") << "MultiPanel"
                                    << "Click which answers are right";
        QTest::newRow("Order") << "Order"
                               << "Order of the answers";
        QTest::newRow("Iclear") << "Iclear"
                                << "This clears the answer";
        QTest::newRow("Questionno") << "Questionno"
                                    << "Click here to start the test";
        QTest::newRow("Iprint") << "Iprint"
                                << "Print out this report";
        QTest::newRow("IQuit") << "IQuit"
                               << "Quit the test";
        QTest::newRow("IReview") << "IReview"
                                 << "Click to review the current test";
    }
    void hints() {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        QCOMPARE(control(name)->toolTip(), hint);
    }

    void fontsAndColours() {
        QCOMPARE(form->EStartName->font().pixelSize(), 21);
        QVERIFY(form->EStartName->font().bold());
        QCOMPARE(form->singleenter->font().pixelSize(), 16);
        QCOMPARE(form->Curr->text(), QString(QChar(0xA3)));
        QCOMPARE(form->Curr->palette().color(QPalette::Window), QColor(0xFF, 0xCC, 0x68));
        QCOMPARE(form->EStartName->palette().color(QPalette::Base), QColor(0x68, 0x7E, 0x85));
        QCOMPARE(form->LheaderName->text(), QString("LHeaderText"));
    }

    // Pixels of the bottom-left colour let the frame behind show through.
    void yesNoCorrectIsTransparent() {
        QVERIFY(form->YesNoCorrect->transparent());
        QVERIFY(!form->CorrMult->transparent());
        form->DrawButton2(form->YesNoCorrect, 14, 1, "Yes", 1);
        form->resize(790, 564);
        const QImage shown = form->YesNoPanel->grab().toImage();
        const QImage frame = form->BYesNoCorrect->picture();
        // A fill pixel of the box: the frame's own pixel shows there instead.
        const QPoint inBox(525 + 2, 5 + 20);
        QCOMPARE(shown.pixelColor(inBox), frame.pixelColor(inBox - QPoint(510, 2)));
        // The same spot on the choice panel shows the box fill.
        form->DrawButton2(form->CorrMult, 14, 1, "Correct", 1);
        QCOMPARE(form->MultiPanel->grab().toImage().pixelColor(530 + 2, 5 + 20),
                 QColor(0xFF, 0xC8, 0x60));
    }

    void guardTurnsAnExceptionIntoOneErrorBox() {
        desktop->dialogs.clear();
        form->guarded([] { throw AppError("Range check error"); });
        form->guarded([] {});
        QCOMPARE(desktop->dialogs.texts("error"), QStringList{"Range check error."});
        QCOMPARE(desktop->dialogs.shown.front().caption, QCoreApplication::applicationName());
    }
};

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
