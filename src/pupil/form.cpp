#include "pupil/form.h"
#include "pupil/record_keeper.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>

namespace corvane {

QColor fromTColor(TColor colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

TForm1::TForm1(const Seams& seams, QWidget* parent)
    : QWidget(parent), seams_(seams),
      recordKeeper_(std::make_unique<RecordKeeper>(seams.resultsFolder, seams.dialogs)) {
    buildLayout();
    connectHandlers();
    qApp->installEventFilter(this);
    guarded([this] { FormCreate(this); });
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
}

void TForm1::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        showErrorBox(error.what());
    }
}

void TForm1::showPanel(QWidget* panel) {
    panel->setVisible(true);
    panel->setEnabled(true);
}

void TForm1::hidePanel(QWidget* panel) {
    panel->setVisible(false);
    panel->setEnabled(false);
}

bool TForm1::event(QEvent* event) {
    // The start-screen set-up runs once: on the first activation, or just after the first
    // show where no window manager activates windows. Not again after a dialog closes.
    if (event->type() == QEvent::WindowActivate)
        activateOnce();
    else if (event->type() == QEvent::Show && !activated_)
        QTimer::singleShot(0, this, [this] { activateOnce(); });
    return QWidget::event(event);
}

void TForm1::activateOnce() {
    if (activated_) return;
    activated_ = true;
    guarded([this] { FormActivate(this); });
}

// Key preview: every key pressed in this window reaches FormKeyDown first, wherever the focus
// is (browser views hand keys to inner widgets, so this filters at the application level).
// The key is not consumed. A key that its receiver ignores travels up to the parents; those
// later deliveries of the same event are recognised and not handled twice.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) lastKeyEvent_ = nullptr;
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    // A browser view sends the keys its page leaves unused once more to its parent, as a new
    // event from the program itself; only presses from the keyboard count.
    if (!event->spontaneous()) return false;
    auto* receiver = static_cast<QWidget*>(watched);
    // Keys of this window's own controls; also where the window is embedded in another.
    if (receiver != this && !isAncestorOf(receiver)) return false;
    const bool propagated =
        event == lastKeyEvent_ && lastKeyReceiver_ && lastKeyReceiver_->parentWidget() == receiver;
    lastKeyEvent_ = event;
    lastKeyReceiver_ = receiver;
    if (propagated) return false;

    auto* keyEvent = static_cast<QKeyEvent*>(event);
    std::uint16_t key = 0;
    if (keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter)
        key = 13;
    else if (keyEvent->key() >= 0 && keyEvent->key() <= 0xFFFF)
        key = static_cast<std::uint16_t>(keyEvent->key());
    if (key != 0) guarded([&] { FormKeyDown(this, key, keyEvent->modifiers()); });
    return false;
}

void TForm1::closeEvent(QCloseEvent* event) {
    guarded([this] { FormClose(this); });
    event->accept();
}

} // namespace corvane
