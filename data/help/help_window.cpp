// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window.h"

#include "pupil/file_list_box.h"
#include "pupil/form.h"
#include "support/fake_seams.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <memory>
#include <stdexcept>

namespace corvane::help {
namespace {

// A pupil (and later her teacher) at the real window, on the fake desktop.
class Session {
  public:
    // The pages show in `browsers` where given, else in the fake desktop's empty views.
    explicit Session(const std::string& programFolder, BrowserViews* browsers = nullptr) {
        desktop_.display.size = {800, 600}; // the window fills the screen: no display offer
        desktop_.programFolder.folder = programFolder;
        Seams seams = desktop_.seams();
        form_ = std::make_unique<TForm1>(
            browsers
                ? Seams{seams.dialogs, *browsers, seams.display, seams.documents,
                        seams.programFolder, seams.printer, seams.settings, seams.resultsFolder}
                : seams);
        form_->show();
        if (!QTest::qWaitFor([this] { return form_->currentQuestion == -1; }, 5000))
            fail("the start screen was not set up");
        expect(form_->FileList->count() > 0, "the sample tests are listed");
    }

    TForm1& form() { return *form_; }

    void typeName(const QString& name) {
        form_->EStartName->clear();
        QTest::keyClicks(form_->EStartName, name);
    }

    // Presses the list entry `entry` (a test file name with its .txt), which loads the test.
    void pickTest(const QString& entry) {
        const QList<QListWidgetItem*> found = form_->FileList->findItems(entry, Qt::MatchExactly);
        expect(found.size() == 1, "the list holds " + entry);
        const QPoint centre = form_->FileList->visualItemRect(found.front()).center();
        QTest::mouseClick(form_->FileList->viewport(), Qt::LeftButton, {}, centre);
        expectNoBox();
    }

    // Start Test, then the start image on the front page: question 1 is on screen.
    void startTest() {
        QTest::mouseClick(form_->IStartOk, Qt::LeftButton);
        expect(form_->FrontPanel->isVisible(), "Start Test opens the front page");
        QTest::mouseClick(form_->ClickStart, Qt::LeftButton);
        expectQuestion(1);
    }

    void next() {
        const int from = form_->currentQuestion;
        QTest::mousePress(form_->INext, Qt::LeftButton);
        QTest::mouseRelease(form_->INext, Qt::LeftButton);
        expectQuestion(from + 1);
    }

    // Ticks option `letter` (A..E) by a click on its box.
    void tick(char letter) { QTest::mouseClick(form_->AnswerBoxes[letter - 'A'], Qt::LeftButton); }

    void tickYes() { QTest::mouseClick(form_->YesSelect, Qt::LeftButton); }

    // Clicks the order places of the given labels, in that order.
    void order(const QStringList& labels) {
        const int q = form_->currentQuestion;
        for (const QString& label : labels) {
            ImageControl* place = nullptr;
            for (int k = 1; k <= kMaxOptions; ++k)
                if (toQt(form_->store.optionLabel[q][k]) == label)
                    place = form_->OrderPlaces[k - 1];
            expect(place, "question " + QString::number(q) + " has the item " + label);
            QTest::mousePress(place, Qt::LeftButton);
            QTest::mouseRelease(place, Qt::LeftButton);
        }
    }

    void type(const QString& answer) {
        form_->singleenter->clear();
        QTest::keyClicks(form_->singleenter, answer);
    }

    void finish() {
        QTest::mouseClick(form_->IFinish, Qt::LeftButton);
        expectNoBox();
        expect(form_->ResultPanel->isVisible(), "Finish shows the results screen");
    }

    // Review with the password, as the teacher types it: question 1 of the marked test.
    void review() {
        desktop_.dialogs.inputAnswers.push_back("marblets");
        QTest::mouseClick(form_->IReview, Qt::LeftButton);
        answered("input");
        expect(form_->reviewMode == 1, "the password opens the review");
        expectQuestion(1);
    }

    // Reset, answered with Yes: the start screen for the next pupil.
    void reset() {
        desktop_.dialogs.yesAnswers.push_back(true);
        QTest::mouseClick(form_->IReset, Qt::LeftButton);
        answered("confirm");
        expect(form_->StartPanel->isVisible(), "Reset goes back to the start screen");
    }

    // The control as it is on screen, or `area` of it.
    QImage grab(QWidget* control, const QRect& area = QRect(QPoint(0, 0), QSize(-1, -1))) {
        expectNoBox();
        expect(control->isVisible(), control->objectName() + " is on screen");
        QCoreApplication::processEvents();
        return control->grab(area).toImage();
    }

    void expect(bool holds, const QString& what) {
        if (!holds) fail(what);
    }

  private:
    [[noreturn]] void fail(const QString& what) {
        throw std::runtime_error("the window did not do what the help shows: " +
                                 what.toStdString());
    }

    void expectQuestion(int q) {
        expectNoBox();
        expect(form_->QuestionPanel->isVisible() && form_->currentQuestion == q,
               "question " + QString::number(q) + " is on screen");
    }

    // The one box that the last step asks, answered from the script.
    void answered(const QString& kind) {
        const auto& shown = desktop_.dialogs.shown;
        expect(shown.size() == 1 && shown.front().kind == kind, "one " + kind + " box is asked");
        desktop_.dialogs.clear();
    }

    // A message of the program here means the help would show a state a pupil never sees.
    void expectNoBox() {
        for (const auto& shown : desktop_.dialogs.shown)
            fail("the program showed the " + shown.kind + " box \"" + shown.text + "\"");
    }

    testing::FakeDesktop desktop_;
    std::unique_ptr<TForm1> form_;
};

// A thin grey outline around a picture, so that a white panel stands out on the page.
QImage outlined(QImage picture) {
    picture = picture.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1));
    const QSizeF size = picture.deviceIndependentSize();
    painter.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
    return picture;
}

bool uniform(const QImage& image) {
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            if (pixels.pixel(x, y) != pixels.pixel(0, 0)) return false;
    return true;
}

// Number Puzzles, answered: A, C and E; forty; D B A C; 3 r 2; and 1254 where 1,254 is right.
void numberPuzzles(Session& pupil, QMap<QString, QImage>& pictures) {
    TForm1& form = pupil.form();
    pupil.typeName("Ann");
    pupil.pickTest("Number Puzzles.txt");
    pictures["start-screen"] = pupil.grab(&form);

    pupil.startTest();
    for (char letter : {'A', 'C', 'E'})
        pupil.tick(letter);
    pictures["question-bar"] = pupil.grab(&form, QRect(0, 485, form.width(), 79));
    pupil.next();
    pupil.type("forty");
    pictures["panel-word"] = pupil.grab(form.SinglePanel);
    pupil.next();
    pupil.order({"D", "B", "A", "C"});
    pupil.next();
    pupil.type("3 r 2");
    pictures["panel-pair"] = pupil.grab(form.SinglePanel);
    pupil.next();
    pupil.type("1254");
    pupil.finish();
    pupil.expect(form.score == 4, "Number Puzzles as answered scores 4 out of 5");
    pictures["results-screen"] = pupil.grab(&form);

    pupil.review();
    pupil.next();
    pictures["panel-word-review"] = pupil.grab(form.SinglePanel);
    pupil.reset();
}

// Shapes and Numbers: B where C is right, the order begun with 5 and 12, and 1/2.
void shapesAndNumbers(Session& pupil, QMap<QString, QImage>& pictures) {
    TForm1& form = pupil.form();
    pupil.pickTest("Shapes and Numbers.txt");
    pupil.startTest();
    pupil.tick('B');
    pictures["panel-choices"] = pupil.grab(form.MultiPanel);
    pupil.next();
    pupil.order({"5", "12"});
    pictures["panel-order"] = pupil.grab(form.orderpanel);
    pupil.next();
    pupil.type("1/2");
    pupil.finish();
    pupil.review();
    pictures["panel-choices-review"] = pupil.grab(form.MultiPanel);
    pupil.reset();
}

// Money and Time: 1.45, then Yes on question 3.
void moneyAndTime(Session& pupil, QMap<QString, QImage>& pictures) {
    TForm1& form = pupil.form();
    pupil.pickTest("Money and Time.txt");
    pupil.startTest();
    pupil.type("1.45");
    pictures["panel-money"] = pupil.grab(form.SinglePanel);
    pupil.next();
    pupil.next();
    pupil.tickYes();
    pictures["panel-yesno"] = pupil.grab(form.YesNoPanel);
}

} // namespace

QMap<QString, QImage> helpPictures(const std::string& programFolder) {
    Session pupil(programFolder);
    QMap<QString, QImage> pictures;
    numberPuzzles(pupil, pictures);
    shapesAndNumbers(pupil, pictures);
    moneyAndTime(pupil, pictures);
    for (QImage& picture : pictures)
        picture = outlined(picture);
    return pictures;
}

QImage windowScreenshot(const std::string& programFolder, BrowserViews& browsers) {
    Session pupil(programFolder, &browsers);
    pupil.typeName("Ann");
    pupil.pickTest("Number Puzzles.txt");
    pupil.startTest();
    for (char letter : {'A', 'C'})
        pupil.tick(letter);
    // The browser engine draws the page in its own time: the shot is taken once the page shows
    // and has stopped changing.
    TForm1& form = pupil.form();
    QWidget* page = form.Question->widget();
    QImage previous;
    for (int tries = 0; tries < 100; ++tries) {
        QTest::qWait(300);
        const QImage shot = pupil.grab(&form);
        if (shot == previous && !uniform(page->grab().toImage())) return shot;
        previous = shot;
    }
    throw std::runtime_error("the question page did not show in the window");
}

} // namespace corvane::help
