// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/preview.h"

#include "core/library.h"
#include "core/marking_rules.h"
#include "pupil/form.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace corvane::teacher {

namespace {

// The screen already has the window's size: the preview never offers to switch it.
class FixedDisplay : public DisplayModes {
  public:
    QSize screenSize() override { return {800, 600}; }
    void setMode(int, int) override {}
};

class FolderOf : public ProgramFolder {
  public:
    explicit FolderOf(std::string path) : path_(std::move(path)) {}
    std::string path() override { return path_; }

  private:
    std::string path_;
};

// The class record is off: what the teacher tries is no pupil's result. Reading aloud is as the
// room has it, so that the teacher hears what the pupil will hear.
class NoClassRecord : public Settings {
  public:
    explicit NoClassRecord(Settings& room) : room_(room) {}
    ProgramSettings read() override {
        const ProgramSettings room = room_.read();
        ProgramSettings settings;
        settings.speechOn = room.speechOn;
        settings.speechRate = room.speechRate;
        settings.speechVoice = room.speechVoice;
        return settings;
    }

  private:
    Settings& room_;
};

// The pupil's window puts the focus in its answer box when it shows a question; while the
// teacher is typing elsewhere the focus stays there.
class KeepFocus {
  public:
    explicit KeepFocus(const QWidget& form) : form_(form), had_(QApplication::focusWidget()) {}
    ~KeepFocus() {
        if (had_ && had_ != &form_ && !form_.isAncestorOf(had_)) had_->setFocus();
    }

  private:
    const QWidget& form_;
    QPointer<QWidget> had_;
};

// Marks the answers given so far, as Finish does.
void markTried(TForm1& form) {
    form.score = 0;
    markAll(form.store, form.questionRight, form.score);
}

} // namespace

struct Preview::OwnSeams {
    OwnSeams(const Seams& desktop, const QString& programFolder)
        : folder(QFile::encodeName(programFolder).toStdString()),
          settings(desktop.settings), seams{desktop.dialogs, desktop.browsers,
                                            display,         desktop.documents,
                                            folder,          desktop.printer,
                                            settings,        desktop.resultsFolder,
                                            desktop.speech} {}
    FixedDisplay display;
    FolderOf folder;
    NoClassRecord settings;
    Seams seams;
};

Preview::Preview(const Seams& desktop, const QString& programFolder, QWidget* parent)
    : QWidget(parent), seams_(std::make_unique<OwnSeams>(desktop, programFolder)) {
    setObjectName(QStringLiteral("preview"));
    auto* layout = new QVBoxLayout(this);
    auto* scroll = new QScrollArea(this);
    scroll->setAccessibleName(tr("The page as the pupil sees it"));
    holder_ = new QWidget(scroll);
    holder_->setLayout(new QVBoxLayout);
    holder_->layout()->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(holder_);
    scroll->setWidgetResizable(true);
    layout->addWidget(scroll, 1);

    auto* row = new QHBoxLayout;
    check_ = new QPushButton(tr("&Check this answer"), this);
    check_->setObjectName(QStringLiteral("checkAnswer"));
    check_->setCheckable(true);
    check_->setEnabled(false);
    check_->setToolTip(tr("Shows whether the answer given here is right, or the right answer"));
    connect(check_, &QPushButton::toggled, this, &Preview::setChecking);
    status_ = new QLabel(tr("The page shows here once the source has no mistakes."), this);
    status_->setObjectName(QStringLiteral("previewStatus"));
    status_->setWordWrap(true);
    row->addWidget(check_);
    row->addWidget(status_, 1);
    layout->addLayout(row);
    QApplication::instance()->installEventFilter(this);
}

bool Preview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusIn || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != window()) return false;
    if (!isAncestorOf(widget)) {
        entered_ = false;
        home_ = widget;
        return false;
    }
    switch (static_cast<QFocusEvent*>(event)->reason()) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        entered_ = true;
        break;
    default:
        break;
    }
    // Sent back once this change of focus is over.
    if (!entered_ && home_)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!entered_ && home_ && home_->isVisible()) home_->setFocus(Qt::OtherFocusReason);
            },
            Qt::QueuedConnection);
    return false;
}

void Preview::takeFocus() {
    entered_ = true;
    if (form_ && form_->isVisible())
        for (QWidget* next = form_->nextInFocusChain(); next != form_.get();
             next = next->nextInFocusChain())
            if (form_->isAncestorOf(next) && (next->focusPolicy() & Qt::TabFocus) &&
                next->isVisible() && next->isEnabled()) {
                next->setFocus(Qt::ShortcutFocusReason);
                return;
            }
    check_->setFocus(Qt::ShortcutFocusReason);
}

void Preview::unload() {
    testFile_.clear();
    if (form_) form_->hide();
    check_->setChecked(false);
    check_->setEnabled(false);
    status_->setText(tr("The page shows here once the source has no mistakes."));
}

void Preview::setOutdated(bool outdated) {
    if (!loaded()) return;
    status_->setText(outdated ? tr("Preview of the last version without mistakes")
                              : tr("Answer on the page as a pupil would."));
}

Preview::~Preview() = default;

void Preview::ensureForm() {
    if (form_) return;
    form_ = std::make_unique<TForm1>(seams_->seams, holder_);
    form_->setWindowFlags(Qt::Widget); // inside this page, not a window of its own
    // Quit on the results screen would end the teacher's program, unsaved source and all.
    form_->IQuit->hide();
    form_->setAccessibleName(tr("Pupil's window"));
    holder_->layout()->addWidget(form_.get());
    // The start screen's set-up (the pupil's list of the scratch library) runs now, before the
    // test is put on screen, not at the first show.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(form_.get(), &activate);
}

void Preview::load(const QString& testFile, int question) {
    ensureForm();
    testFile_ = testFile;
    TForm1& form = *form_;
    form.show();
    const KeepFocus focus(form);
    form.guarded([&] {
        form.reviewMode = 0;
        form.testName = removeTxt(fromQt(QFileInfo(testFile).fileName()));
        form.testFilePath = QFile::encodeName(testFile).toStdString();
        form.loadfile();
        form.EStartName->setText(QStringLiteral("Teacher"));
        form.acceptPupilName();
        form.drawfrontpage();
    });
    check_->setEnabled(true);
    check_->setChecked(false);
    status_->setText(tr("Answer on the page as a pupil would."));
    showQuestion(question);
}

int Preview::shownQuestion() const {
    return form_ ? form_->currentQuestion : -1;
}

void Preview::showQuestion(int question) {
    if (!form_ || testFile_.isEmpty()) return;
    TForm1& form = *form_;
    const KeepFocus focus(form);
    form.guarded([&] {
        const int q = std::clamp(question, 0, std::min(form.store.questionCount, kMaxQuestions));
        TForm1::hidePanel(form.ResultPanel);
        TForm1::hidePanel(form.StartPanel);
        if (q == 0) {
            TForm1::hidePanel(form.QuestionPanel);
            TForm1::showPanel(form.FrontPanel);
            form.drawfrontpage();
            return;
        }
        if (form.currentQuestion <= 0 && !form.leaveFrontPage()) return;
        TForm1::showPanel(form.QuestionPanel);
        form.currentQuestion = q;
        if (form.reviewMode) markTried(form);
        form.drawquestion();
    });
}

// The verdict is the pupil's review: the question's result box shows "Correct" or the right
// answer, and the answer cannot be changed until checking is turned off.
void Preview::setChecking(bool on) {
    if (!form_) return;
    TForm1& form = *form_;
    check_->setText(on ? tr("&Change the answer") : tr("&Check this answer"));
    form.guarded([&] {
        markTried(form);
        form.reviewMode = on ? 1 : 0;
        if (form.currentQuestion > 0) form.drawquestion();
    });
    status_->setText(
        on ? tr("Right so far: %1 of %2.").arg(form.score).arg(form.store.questionCount)
           : tr("Answer on the page as a pupil would."));
}

} // namespace corvane::teacher
