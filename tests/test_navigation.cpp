// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using corvane::ImageControl;
using corvane::Text;
using corvane::TForm1;

namespace {

constexpr int kQuestions = 12;

// A window with a loaded test of 12 questions whose pages lie in "/p", shown on the start
// screen with "Ann" typed in the name box.
struct Run {
    explicit Run(int questions = kQuestions) {
        QDir(dir.path()).mkpath("test");
        desktop.display.size = {800, 600};
        desktop.programFolder.folder = QFile::encodeName(dir.path()).toStdString();
        form = std::make_unique<TForm1>(desktop.seams());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->store.questionCount = questions;
        for (int q = 1; q <= questions; ++q)
            form->store.questionType[q] = corvane::KWORD;
        form->testFilePath = "/p.txt";
        form->EStartName->setText("Ann");
    }

    // A press and release on the image. An image of a hidden screen takes no input, so there
    // its handler is called directly: the guards must hold whoever calls it.
    void press(ImageControl* image, Qt::MouseButton button = Qt::LeftButton) {
        if (image->isEnabled()) {
            QTest::mousePress(image, button, {}, {5, 5});
            QTest::mouseRelease(image, button, {}, {5, 5});
            return;
        }
        using Handler =
            void (TForm1::*)(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int);
        const std::map<QString, Handler> handlers{{"INext", &TForm1::INextMouseDown},
                                                  {"IPrevious", &TForm1::IPreviousMouseDown},
                                                  {"IRew", &TForm1::IRewMouseDown},
                                                  {"IFF", &TForm1::IFFMouseDown}};
        form->guarded(
            [&] { (form.get()->*handlers.at(image->objectName()))(image, button, {}, 5, 5); });
    }

    // From the start screen to question `q` by the pupil's own moves: OK, the start image,
    // then Next.
    void goTo(int q) {
        if (q >= 0) QTest::mouseClick(form->IStartOk, Qt::LeftButton);
        if (q >= 1) QTest::mouseClick(form->ClickStart, Qt::LeftButton);
        for (int stage = 1; stage < q; ++stage)
            press(form->INext);
        QCOMPARE(form->currentQuestion, q);
    }

    std::size_t questionPagesShown() { return desktop.browsers.navigations["Question"].size(); }

    QTemporaryDir dir;
    corvane::testing::FakeDesktop desktop;
    std::unique_ptr<TForm1> form;
};

// The answer panel on view, by its component name; empty when none is.
QString shownAnswerPanel(TForm1& form) {
    QStringList shown;
    for (QWidget* panel : {form.MultiPanel, form.YesNoPanel, form.SinglePanel, form.orderpanel})
        if (!panel->isHidden() && panel->isEnabled()) shown << panel->objectName();
    return shown.join(",");
}

} // namespace

class NavigationTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { corvane::registerFontSubstitutes(); }

    // Each image, its button and its guard; "drawn" counts the question pages opened.
    void imagesMoveWithinTheirGuards_data() {
        QTest::addColumn<QString>("image");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("drawn");
        QTest::addRow("next") << "INext" << Qt::LeftButton << 5 << 6 << 1;
        QTest::addRow("next, right button") << "INext" << Qt::RightButton << 5 << 5 << 0;
        QTest::addRow("next at the last") << "INext" << Qt::LeftButton << 12 << 12 << 1;
        QTest::addRow("previous") << "IPrevious" << Qt::LeftButton << 5 << 4 << 1;
        QTest::addRow("previous, right button") << "IPrevious" << Qt::RightButton << 5 << 5 << 0;
        QTest::addRow("previous on start screen") << "IPrevious" << Qt::LeftButton << -1 << -1 << 0;
        QTest::addRow("first, right button") << "IRew" << Qt::RightButton << 5 << 1 << 1;
        QTest::addRow("last, middle button") << "IFF" << Qt::MiddleButton << 5 << 12 << 1;
        QTest::addRow("first on front page") << "IRew" << Qt::LeftButton << 0 << 0 << 0;
        QTest::addRow("last on front page") << "IFF" << Qt::LeftButton << 0 << 0 << 0;
        QTest::addRow("last on start screen") << "IFF" << Qt::LeftButton << -1 << -1 << 0;
    }
    void imagesMoveWithinTheirGuards() {
        QFETCH(QString, image);
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, drawn);
        Run run;
        run.goTo(from);
        const std::size_t before = run.questionPagesShown();
        run.press(run.form->findChild<ImageControl*>(image), button);
        QCOMPARE(run.form->currentQuestion, to);
        QCOMPARE(run.questionPagesShown() - before, std::size_t(drawn));
        if (drawn)
            QCOMPARE(run.desktop.browsers.lastUrl("Question"),
                     "file:///p/question" + std::to_string(to) + ".htm");
        QVERIFY(run.desktop.dialogs.shown.empty());
    }

    // Back from question 1 to the front page screen, then to the start screen.
    void previousFromQuestionOne() {
        Run run;
        TForm1& form = *run.form;
        run.goTo(1);
        run.press(form.IPrevious);
        QCOMPARE(form.currentQuestion, 0);
        QVERIFY(form.FrontPanel->isVisible());
        QVERIFY(!form.QuestionPanel->isVisible());
        QCOMPARE(run.desktop.browsers.navigations["Front"].size(), 2u);

        run.press(form.INext);
        QCOMPARE(form.currentQuestion, 1);
        QVERIFY(form.QuestionPanel->isVisible());
        QVERIFY(!form.FrontPanel->isVisible());

        run.press(form.IPrevious);
        run.press(form.IPrevious);
        QCOMPARE(form.currentQuestion, -1);
        QVERIFY(form.StartPanel->isVisible());
        QVERIFY(!form.FrontPanel->isVisible());
        QCOMPARE(form.pupilName, Text());
        QCOMPARE(form.EStartName->text(), QString("Ann"));
        QCOMPARE(form.LheaderName->text(), QString("Name: "));
    }

    // Next on the start screen takes the name as typed and keeps the answers.
    void nextOnStartScreenChecksTheName_data() {
        QTest::addColumn<QString>("name");
        QTest::addRow("empty") << "";
        QTest::addRow("spaces") << "  ";
    }
    void nextOnStartScreenChecksTheName() {
        QFETCH(QString, name);
        Run run;
        TForm1& form = *run.form;
        form.EStartName->setText(name);
        form.store.userMarks[2][1] = 1;
        run.press(form.INext);
        if (name.isEmpty()) {
            QCOMPARE(run.desktop.dialogs.texts("message"), QStringList{"Please enter your name"});
            QCOMPARE(form.currentQuestion, -1);
            QVERIFY(form.StartPanel->isVisible());
            return;
        }
        QCOMPARE(form.currentQuestion, 0);
        QCOMPARE(form.LheaderName->text(), "Name: " + name);
        QVERIFY(form.FrontPanel->isVisible());
        QCOMPARE(run.desktop.browsers.lastUrl("Front"), std::string("file:///p/front.htm"));
        QCOMPARE(form.store.userMarks[2][1], 1);
    }

    // A test without questions has nothing to go on to: whichever way the pupil goes on, the
    // message is shown and the start screen comes back with the name kept, as Previous does.
    void testWithoutQuestionsGoesBackToStartScreen_data() {
        QTest::addColumn<QString>("way");
        QTest::addRow("next image") << "INext";
        QTest::addRow("enter") << "Enter";
        QTest::addRow("start image") << "ClickStart";
    }
    void testWithoutQuestionsGoesBackToStartScreen() {
        QFETCH(QString, way);
        Run run(0);
        TForm1& form = *run.form;
        run.goTo(0);
        for (ImageControl* image : {form.IFF, form.IRew})
            run.press(image);
        QVERIFY(run.desktop.dialogs.shown.empty());
        QVERIFY(form.FrontPanel->isVisible());

        if (way == "INext")
            run.press(form.INext);
        else if (way == "Enter")
            QTest::keyClick(&form, Qt::Key_Return);
        else
            QTest::mouseClick(form.ClickStart, Qt::LeftButton);

        QCOMPARE(run.desktop.dialogs.texts("message"), QStringList{"This test has no questions"});
        QCOMPARE(form.currentQuestion, -1);
        QVERIFY(form.StartPanel->isVisible());
        QVERIFY(!form.FrontPanel->isVisible() && !form.QuestionPanel->isVisible());
        QCOMPARE(form.EStartName->text(), QString("Ann"));
        QCOMPARE(form.LheaderName->text(), QString("Name: "));
        QCOMPARE(run.questionPagesShown(), 0u);
        QVERIFY(run.desktop.dialogs.texts("error").isEmpty());
    }

    // Each type code shows its panel alone; typed answers get the focus and "£" for money.
    void panelByType_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("panel");
        QTest::addRow("single choice") << 1 << "MultiPanel";
        QTest::addRow("multiple choice") << 2 << "MultiPanel";
        QTest::addRow("yes/no") << 8 << "YesNoPanel";
        QTest::addRow("order") << 4 << "orderpanel";
        QTest::addRow("own order") << 9 << "orderpanel";
        for (int type : {3, 5, 6, 7, 10, 11})
            QTest::addRow("typed %d", type) << type << "SinglePanel";
        QTest::addRow("no type") << 0 << "orderpanel";
        QTest::addRow("unknown type") << 12 << "orderpanel";
    }
    void panelByType() {
        QFETCH(int, type);
        QFETCH(QString, panel);
        Run run;
        TForm1& form = *run.form;
        form.store.questionType[1] = corvane::KORDER;
        form.store.questionType[2] = type;
        run.goTo(2);
        QCOMPARE(shownAnswerPanel(form), panel);
        if (panel == "SinglePanel") {
            QCOMPARE(!form.Curr->isHidden(), type == corvane::KCURRENCY);
            QCOMPARE(QApplication::focusWidget(), form.singleenter);
        }
        QCOMPARE(run.desktop.browsers.lastUrl("Question"), std::string("file:///p/question2.htm"));
    }

    // The caption reads "Question q/12", black on orange, centred on 242 pixels.
    void captionsShowQuestionOfCount_data() {
        QTest::addColumn<int>("q");
        QTest::addRow("first") << 1;
        QTest::addRow("third") << 3;
        QTest::addRow("last") << 12;
    }
    void captionsShowQuestionOfCount() {
        QFETCH(int, q);
        Run run;
        TForm1& form = *run.form;
        run.goTo(1);
        for (int k = 1; k < q; ++k)
            run.press(form.INext);
        const QImage shown = form.Questionno->surface().copy();
        QVERIFY(form.Questionno->toolTip().isEmpty());

        const QString caption = QString("Question %1/12").arg(q);
        form.printquestionno(corvane::fromQt(caption));
        QCOMPARE(shown, form.Questionno->surface());

        const QColor orange(0xFF, 0x99, 0x00);
        QCOMPARE(QColor(shown.pixel(0, 0)), orange);
        QCOMPARE(QColor(shown.pixel(240, 21)), orange);
        int left = shown.width(), right = -1;
        for (int x = 0; x < shown.width(); ++x)
            for (int y = 0; y < shown.height(); ++y)
                if (qGray(shown.pixel(x, y)) < 40) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        QVERIFY(right > left);
        QVERIFY2(qAbs((left + right) - 242) <= 4,
                 qPrintable(QString("%1..%2").arg(left).arg(right)));
    }
};

QTEST_MAIN(NavigationTest)
#include "test_navigation.moc"
