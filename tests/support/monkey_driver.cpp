// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/monkey_driver.h"

#include "core/marking_rules.h"
#include "pupil/file_list_box.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>

#include <array>

namespace corvane::testing {
namespace {

constexpr std::size_t kTraceLength = 20;

bool isOwnError(const QString& text) {
    static const QStringList messages = {"Range check error.",     "File not found.",
                                         "Invalid filename.",      "File access denied.",
                                         "Invalid numeric input.", "Too many open files."};
    static const QRegularExpression ioError("^I/O error -?\\d+\\.$");
    return messages.contains(text) || ioError.match(text).hasMatch();
}

// The texts that the other dialogs may show, by kind.
bool isKnownDialog(const FakeDialogs::Shown& shown) {
    static const QMap<QString, QStringList> texts = {
        {"message", {"Please enter your name", "This test has no questions"}},
        {"confirm",
         {"You haven`t answered all the questions, do you really want to finish?",
          "This will restart the test from the begining, do you want to continue?"}},
        {"input", {"Please enter password to review questions"}},
        {"display", {"Do you want to change the resolution so to fill the screen ?"}},
    };
    return texts.value(shown.kind).contains(shown.text);
}

QString buttonName(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return "left";
    case Qt::RightButton:
        return "right";
    case Qt::MiddleButton:
        return "middle";
    case Qt::BackButton:
        return "back";
    default:
        return "forward";
    }
}

QString modifierName(Qt::KeyboardModifiers modifiers) {
    QString name;
    if (modifiers & Qt::ShiftModifier) name += "+shift";
    if (modifiers & Qt::ControlModifier) name += "+ctrl";
    if (modifiers & Qt::AltModifier) name += "+alt";
    return name;
}

// Printable bytes of a test file for the failure report.
QString shownBytes(const QByteArray& bytes) {
    QString text;
    for (const char byte : bytes.left(600)) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (c < 32 || c > 126)
            text += QString("\\x%1").arg(c, 2, 16, QChar('0'));
        else
            text += QChar(c);
    }
    return bytes.size() > 600 ? text + "..." : text;
}

} // namespace

// What the checks compare across one event.
struct Monkey::Snapshot {
    explicit Snapshot(const TForm1& form)
        : currentQuestion(form.currentQuestion), review(form.reviewMode != 0),
          resultsShown(!form.ResultPanel->isHidden()), questionCount(form.store.questionCount) {
        const QuestionStore& store = form.store;
        for (int q = 1; q <= kMaxQuestions; ++q) {
            Answer& answer = answers[q - 1];
            answer.text = store.userText[q];
            answer.next = store.orderNext[q];
            std::array<std::int32_t, 8>& row = test[q - 1];
            row[0] = store.questionType[q];
            row[1] = store.optionCount[q];
            row[2] = store.altCount[q];
            for (int j = 1; j <= kMaxOptions; ++j) {
                answer.marks[j - 1] = store.userMarks[q][j];
                row[2 + j] = store.answerKey[q][j];
            }
        }
    }

    struct Answer {
        Text text;
        std::array<std::int32_t, kMaxOptions> marks{};
        std::int32_t next = 0;
        bool operator==(const Answer&) const = default;

        // What a load or a start leaves: each part as it was or emptied.
        bool emptiedFrom(const Answer& before) const {
            if (text != before.text && !text.empty()) return false;
            if (next != before.next && next != 1) return false;
            for (int j = 0; j < kMaxOptions; ++j)
                if (marks[j] != before.marks[j] && marks[j] != 0) return false;
            return true;
        }
    };

    std::int32_t currentQuestion;
    bool review;
    bool resultsShown;
    std::int32_t questionCount;
    std::array<Answer, kMaxQuestions> answers;
    std::array<std::array<std::int32_t, 8>, kMaxQuestions> test{};
};

Monkey::~Monkey() = default;

QString Monkey::run(long events) {
    long left = 0;
    while (eventNumber_ < events) {
        if (left == 0) {
            if (const QString broken = endEpisode(); !broken.isEmpty()) return failure(broken);
            if (const QString broken = startEpisode(); !broken.isEmpty()) return failure(broken);
            left = pick(30, 800);
            continue;
        }
        scriptDialogs();
        const Snapshot before(*form_);
        const std::size_t firstDialog = desktop_->dialogs.shown.size();
        loadPossible_ = false;
        startPossible_ = false;
        try {
            sendEvent();
        } catch (const std::exception& error) {
            return failure(QString("an exception escaped: ") + error.what());
        } catch (...) {
            return failure("an exception escaped");
        }
        QCoreApplication::processEvents();
        ++eventNumber_;
        --left;
        trace_.back() += QString("  -> question %1").arg(form_->currentQuestion);
        if (const QString broken = check(before, firstDialog); !broken.isEmpty())
            return failure(broken);
    }
    const QString broken = endEpisode();
    return broken.isEmpty() ? broken : failure(broken);
}

// Closes the window: a display switched at the start comes back once, whether or not Quit
// already restored it.
QString Monkey::endEpisode() {
    if (!form_) return {};
    note("close the window");
    const std::size_t firstDialog = desktop_->dialogs.shown.size();
    form_->close();
    if (desktop_->dialogs.shown.size() != firstDialog) return "a dialog on closing the window";
    const std::vector<QSize>& modes = desktop_->display.modes;
    const QSize saved(form_->savedScreenWidth, form_->savedScreenHeight);
    if (!modes.empty() && modes != std::vector<QSize>{QSize(800, 600), saved})
        return QString("display modes set: %1 for a saved %2x%3")
            .arg(modes.size())
            .arg(saved.width())
            .arg(saved.height());
    return {};
}

QString Monkey::startEpisode() {
    form_.reset();
    desktop_.reset();
    dir_ = std::make_unique<QTemporaryDir>();
    ++episode_;
    ++counts["episodes"];
    library_ = makeMonkeyLibrary(rng_);
    QString folder = dir_->path();
    const int where = pick(1, 100);
    if (where <= 95) {
        writeMonkeyLibrary(folder, library_, rng_);
    } else if (where <= 98) {
        folder += "/without-tests";
        QDir().mkpath(folder);
    } else {
        folder += "/missing/deeper";
    }
    desktop_ = std::make_unique<FakeDesktop>();
    desktop_->display.size = chance(50) ? QSize(800, 600) : QSize(1024, 768);
    desktop_->programFolder.folder = QFile::encodeName(folder).toStdString();
    scriptDialogs();
    note(QString("episode %1: new window on %2 (screen %3x%4)")
             .arg(episode_)
             .arg(folder)
             .arg(desktop_->display.size.width())
             .arg(desktop_->display.size.height()));
    form_ = std::make_unique<TForm1>(desktop_->seams());
    const Snapshot before(*form_);
    form_->guarded([this] { form_->FormActivate(form_.get()); });
    images_ = form_->findChildren<ImageControl*>();
    images_.removeIf([](const ImageControl* image) { return image->objectName().isEmpty(); });
    return check(before, 0);
}

void Monkey::note(const QString& event) {
    trace_.push_back(QString("#%1 %2").arg(eventNumber_).arg(event));
    if (trace_.size() > kTraceLength) trace_.pop_front();
}

// Dialogs answer from a fresh random script before every event.
void Monkey::scriptDialogs() {
    static const std::array<QString, 7> passwords = {"marblets", "MARBLETS",  "MarBlets", "wrong",
                                                     "",         " marblets", "marblet"};
    FakeDialogs& dialogs = desktop_->dialogs;
    dialogs.yesAnswers.clear();
    dialogs.inputAnswers.clear();
    for (int i = pick(0, 3); i > 0; --i)
        dialogs.yesAnswers.push_back(chance(50));
    for (int i = pick(0, 2); i > 0; --i)
        dialogs.inputAnswers.push_back(passwords[static_cast<std::size_t>(pick(0, 6))]);
}

void Monkey::sendEvent() {
    const int kind = pick(1, 100);
    if (kind <= 40)
        mouseOnImage();
    else if (kind <= 52)
        mouseOnList();
    else if (kind <= 57)
        mouseOnEdit();
    else if (kind <= 82)
        keyPress();
    else
        typing();
}

Qt::MouseButton Monkey::randomButton() {
    static const std::array<Qt::MouseButton, 8> buttons = {
        Qt::LeftButton,  Qt::LeftButton,   Qt::LeftButton, Qt::LeftButton,
        Qt::RightButton, Qt::MiddleButton, Qt::BackButton, Qt::ForwardButton};
    return buttons[static_cast<std::size_t>(pick(0, 7))];
}

Qt::KeyboardModifiers Monkey::randomModifiers() {
    static const std::array<Qt::KeyboardModifiers, 5> modifiers = {
        Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier,
        Qt::ShiftModifier | Qt::ControlModifier, Qt::NoModifier};
    return chance(70) ? Qt::NoModifier : modifiers[static_cast<std::size_t>(pick(0, 4))];
}

// Mostly inside the control, sometimes just outside it.
QPoint Monkey::randomPoint(const QRect& area) {
    if (chance(90))
        return {pick(0, std::max(area.width() - 1, 0)), pick(0, std::max(area.height() - 1, 0))};
    return {area.width() + pick(0, 20), pick(-10, area.height() + 10)};
}

// Presses, releases, clicks and double clicks; most go to controls that are on view and
// enabled, the rest to any control at all.
void Monkey::mouseOnImage() {
    QList<ImageControl*> live;
    for (ImageControl* image : images_)
        if (image->isVisibleTo(form_.get()) && image->isEnabled()) live << image;
    const QList<ImageControl*>& from = chance(70) && !live.isEmpty() ? live : images_;
    ImageControl* image = from[pick(0, int(from.size()) - 1)];
    const Qt::MouseButton button = randomButton();
    const Qt::KeyboardModifiers modifiers = randomModifiers();
    const QPoint at = randomPoint(image->rect());
    const int action = pick(1, 100);
    const QString what = action <= 55   ? "click"
                         : action <= 70 ? "press"
                         : action <= 85 ? "release"
                                        : "double-click";
    note(QString("%1 %2%3 on %4 at (%5,%6)%7")
             .arg(what, buttonName(button), modifierName(modifiers), image->objectName())
             .arg(at.x())
             .arg(at.y())
             .arg(image->isVisibleTo(form_.get()) ? "" : " (hidden)"));
    startPossible_ = image == form_->IStartOk;
    if (action <= 55)
        QTest::mouseClick(image, button, modifiers, at);
    else if (action <= 70)
        QTest::mousePress(image, button, modifiers, at);
    else if (action <= 85)
        QTest::mouseRelease(image, button, modifiers, at);
    else
        QTest::mouseDClick(image, button, modifiers, at);
}

// A press on the test list at any point, on an entry or below the last one; it may load.
void Monkey::mouseOnList() {
    QWidget* viewport = form_->FileList->viewport();
    const Qt::MouseButton button = randomButton();
    const QPoint at(pick(0, viewport->width() - 1), pick(0, std::min(viewport->height() - 1, 200)));
    const QListWidgetItem* item = form_->FileList->itemAt(at);
    note(QString("press %1 on FileList at (%2,%3) %4%5")
             .arg(buttonName(button))
             .arg(at.x())
             .arg(at.y())
             .arg(item ? item->text() : "(no entry)")
             .arg(form_->StartPanel->isHidden() ? " (hidden)" : ""));
    loadPossible_ = true;
    QTest::mousePress(viewport, button, randomModifiers(), at);
    if (chance(70)) QTest::mouseRelease(viewport, button, {}, at);
    if (item && !form_->StartPanel->isHidden()) ++counts["load attempts"];
}

void Monkey::mouseOnEdit() {
    QLineEdit* edit = chance(50) ? form_->EStartName : form_->singleenter;
    const Qt::MouseButton button = randomButton();
    const QPoint at = randomPoint(edit->rect());
    note(QString("click %1 on %2").arg(buttonName(button), edit->objectName()));
    QTest::mouseClick(edit, button, randomModifiers(), at);
}

// Enter, the option letters and other keys, to the focused control or the window.
void Monkey::keyPress() {
    static const std::array<Qt::Key, 20> others = {
        Qt::Key_F,      Qt::Key_Z,    Qt::Key_1,      Qt::Key_Space,    Qt::Key_Backspace,
        Qt::Key_Delete, Qt::Key_Tab,  Qt::Key_Escape, Qt::Key_Left,     Qt::Key_Right,
        Qt::Key_Up,     Qt::Key_Down, Qt::Key_Home,   Qt::Key_End,      Qt::Key_PageUp,
        Qt::Key_F1,     Qt::Key_Y,    Qt::Key_N,      Qt::Key_sterling, Qt::Key_Period};
    const int which = pick(1, 100);
    Qt::Key key;
    if (which <= 35)
        key = chance(80) ? Qt::Key_Return : Qt::Key_Enter;
    else if (which <= 65)
        key = static_cast<Qt::Key>(Qt::Key_A + pick(0, 4));
    else
        key = others[static_cast<std::size_t>(pick(0, int(others.size()) - 1))];
    const Qt::KeyboardModifiers modifiers = chance(25) ? Qt::ShiftModifier : randomModifiers();
    QWidget* target = form_->focusWidget();
    if (!target || chance(40)) target = form_.get();
    const bool pressOnly = chance(15);
    // The keys load the entry they move to in the test list, and Space presses the Start image.
    loadPossible_ = target == form_->FileList;
    startPossible_ = target == form_->IStartOk;
    note(QString("key %1%2%3 to %4")
             .arg(QKeySequence(key).toString(), modifierName(modifiers),
                  pressOnly ? " (press only)" : "", target->objectName()));
    if (pressOnly)
        QTest::keyPress(target, key, modifiers);
    else
        QTest::keyClick(target, key, modifiers);
}

// Typing into a name or answer box, or emptying it with Ctrl+A and Backspace.
void Monkey::typing() {
    static const QString characters = QString(" 0123456789abcdeABCDEpP.,:/-xyz") + QChar(0xA3);
    QLineEdit* edit = chance(50) ? form_->EStartName : form_->singleenter;
    if (chance(20)) {
        note("empty " + edit->objectName() + " with ctrl+A, backspace");
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        return;
    }
    QString text;
    for (int i = pick(1, 6); i > 0; --i)
        text += characters[pick(0, int(characters.size()) - 1)];
    note(QString("type \"%1\" into %2").arg(text, edit->objectName()));
    QTest::keyClicks(edit, text);
}

QString Monkey::check(const Snapshot& before, std::size_t firstDialog) {
    TForm1& form = *form_;
    bool rangeError = false;
    const auto& shown = desktop_->dialogs.shown;
    for (std::size_t i = firstDialog; i < shown.size(); ++i) {
        if (shown[i].kind == "error") {
            if (!isOwnError(shown[i].text))
                return "error box with a foreign text: " + shown[i].text;
            rangeError = rangeError || shown[i].text == "Range check error.";
            ++counts["error box: " + shown[i].text];
        } else if (!isKnownDialog(shown[i])) {
            return QString("unknown %1 box: %2").arg(shown[i].kind, shown[i].text);
        }
    }

    QStringList screens;
    for (QWidget* screen : {form.StartPanel, form.FrontPanel, form.QuestionPanel, form.ResultPanel})
        if (!screen->isHidden()) screens << screen->objectName();
    if (screens.size() != 1) return "screens shown: " + screens.join(", ");
    const QString screen = screens.front();
    const std::int32_t q = form.currentQuestion;
    const bool stageAgrees = screen == "StartPanel"   ? q == -1
                             : screen == "FrontPanel" ? q == 0
                                                      : q >= 1;
    if (!stageAgrees) return QString("currentQuestion %1 on %2").arg(q).arg(screen);
    if (q > std::max(form.store.questionCount, 0) || q > kMaxQuestions)
        return QString("currentQuestion %1 outside the test of %2 questions")
            .arg(q)
            .arg(form.store.questionCount);
    if (form.reviewMode && screen == "StartPanel") return "review mode on the start screen";

    if (screen == "QuestionPanel" && !rangeError) {
        if (const QString wrong = panelDisagrees(); !wrong.isEmpty()) return wrong;
    }

    const Snapshot after(form);
    if (after.test != before.test && !loadPossible_) return "the test changed without a load";
    for (int question = 1; question <= kMaxQuestions; ++question) {
        const Snapshot::Answer& was = before.answers[question - 1];
        const Snapshot::Answer& is = after.answers[question - 1];
        if (is == was) continue;
        const bool onScreen =
            question == before.currentQuestion || question == after.currentQuestion;
        if (onScreen && !before.review) continue;
        if ((loadPossible_ || startPossible_) && is.emptiedFrom(was)) continue;
        return QString("the answer of question %1 changed (question on screen %2 -> %3%4)")
            .arg(question)
            .arg(before.currentQuestion)
            .arg(after.currentQuestion)
            .arg(before.review ? ", reviewing" : "");
    }

    if (after.review && !before.review) ++counts["reviews"];
    if (after.resultsShown && !before.resultsShown) {
        ++counts["results shown"];
        if (!rangeError) {
            RightFlags fresh;
            std::int32_t score = 0;
            markAll(form.store, fresh, score);
            if (score != form.score)
                return QString("results show score %1, a fresh marking gives %2")
                    .arg(form.score)
                    .arg(score);
            for (int question = 1; question <= std::min(form.store.questionCount, kMaxQuestions);
                 ++question)
                if (fresh[question] != form.questionRight[question])
                    return QString("question %1 marked %2, a fresh marking says %3")
                        .arg(question)
                        .arg(form.questionRight[question])
                        .arg(fresh[question]);
        }
    }
    return {};
}

// The question screen shows the question on screen: its type's answer panel, and the answer
// held in the store (tick boxes as drawn from the marks, the typed text while answering).
QString Monkey::panelDisagrees() {
    TForm1& form = *form_;
    const int q = form.currentQuestion;
    const std::int32_t type = form.store.questionType[q];
    QWidget* expected = nullptr;
    if (type == KSINGLECHOICE || type == KMULTICHOICE)
        expected = form.MultiPanel;
    else if (type == KYESNO)
        expected = form.YesNoPanel;
    else if (type == KORDER || type == KORDERUSER)
        expected = form.orderpanel;
    else if (type >= KWORD && type <= KMULTIENTRYMULTI)
        expected = form.SinglePanel;
    if (!expected) return {};
    for (QWidget* panel : {form.MultiPanel, form.YesNoPanel, form.SinglePanel, form.orderpanel})
        if (panel->isHidden() == (panel == expected))
            return QString("question %1 of type %2 with %3 %4")
                .arg(q)
                .arg(type)
                .arg(panel->objectName(), panel->isHidden() ? "hidden" : "shown");

    const OptionRow& marks = form.store.userMarks[q];
    auto tickAgrees = [&](ImageControl* box, int mark) {
        return (mark != 0 && mark != 1) || box->surface() == tickBox(box->size(), mark);
    };
    if (expected == form.MultiPanel) {
        for (int k = 1; k <= kMaxOptions; ++k)
            if (!tickAgrees(form.AnswerBoxes[k - 1], marks[k]))
                return QString("tick box %1 of question %2 does not show mark %3")
                    .arg(k)
                    .arg(q)
                    .arg(marks[k]);
    } else if (expected == form.YesNoPanel) {
        if (!tickAgrees(form.YesSelect, marks[1]) || !tickAgrees(form.NoSelect, marks[2]))
            return QString("the yes/no boxes of question %1 do not show its marks").arg(q);
    } else if (expected == form.SinglePanel && !form.reviewMode &&
               fromQt(form.singleenter->text()) != form.store.userText[q]) {
        return QString("the answer box shows \"%1\", question %2 holds \"%3\"")
            .arg(form.singleenter->text(), QString::number(q), toQt(form.store.userText[q]));
    }
    return {};
}

// A tick box as the drawing routine draws it, drawn once per size and mark.
const QImage& Monkey::tickBox(QSize size, int mark) {
    const QString key = QString("%1x%2:%3").arg(size.width()).arg(size.height()).arg(mark);
    if (!tickBoxes_.contains(key)) {
        ImageControl scratch;
        scratch.resize(size);
        form_->DrawButton(&scratch, form_->iticks, mark);
        tickBoxes_.insert(key, scratch.surface());
    }
    return tickBoxes_[key];
}

QString Monkey::failure(const QString& broken) const {
    QString report =
        QString("MONKEY_SEED=%1: %2\n  after event #%3, episode %4; the last events:\n")
            .arg(seed_)
            .arg(broken)
            .arg(eventNumber_ - 1)
            .arg(episode_);
    for (const QString& event : trace_)
        report += "    " + event + "\n";
    report += "  the library:\n";
    for (const MonkeyTestFile& file : library_)
        report += "    " + file.name + ": " + shownBytes(file.bytes) + "\n";
    return report;
}

} // namespace corvane::testing
