// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/form.h"
#include "pupil/focus_ring.h"
#include "pupil/read_aloud.h"
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
    if (seams.speech) new ReadAloud(*this, *seams.speech); // a child of the window
    qApp->installEventFilter(this);
    guarded([this] { FormCreate(this); });
    recordKeeper_->setTell([this](const QString& line) { showRecordNote(line); });
    recordKeeper_->takeUpKept(seams.settings.read()); // what earlier runs kept
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
    // A screen is up once it is both shown and enabled, in either order.
    if ((event->type() == QEvent::Show || event->type() == QEvent::EnabledChange) &&
        watched->isWidgetType())
        screenShown(static_cast<QWidget*>(watched));
    // The browser engine makes the widgets of a page view when it first shows a page.
    if (event->type() == QEvent::ChildAdded && !pageChainDue_ && isInPageView(watched)) {
        pageChainDue_ = true;
        QTimer::singleShot(0, this, &TForm1::chainPageViews);
    }
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() &&
        ownsFocusOf(static_cast<QWidget*>(watched)))
        focusRing_->setActive(false);
    if (event->type() == QEvent::KeyRelease) lastKeyEvent_ = nullptr;
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    // A press from the keyboard and one re-posted by the screen readers' bridge (which holds
    // each press until the screen reader has seen it) count alike. A browser view sends the
    // keys its page leaves unused once more to the view's container, which never has the
    // focus: that is the same press again, and so are its deliveries to the parents.
    auto* receiver = static_cast<QWidget*>(watched);
    // Keys of this window's own controls; also where the window is embedded in another.
    if (receiver != this && !isAncestorOf(receiver)) return false;
    const bool propagated = event == lastKeyEvent_ && lastKeyReceiver_ &&
                            receiver != lastKeyReceiver_ &&
                            receiver->isAncestorOf(lastKeyReceiver_);
    const bool handedBack =
        receiver->property("pageView").toBool() && receiver != QApplication::focusWidget();
    lastKeyEvent_ = event;
    lastKeyReceiver_ = receiver;
    if (propagated || handedBack) return false;

    auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (movesAbout(*keyEvent)) focusRing_->setActive(true);
    std::uint16_t key = 0;
    if (keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter)
        key = 13;
    else if (keyEvent->key() == Qt::Key_Backspace)
        key = 8;
    else if (keyEvent->key() >= 0 && keyEvent->key() <= 0xFFFF)
        key = static_cast<std::uint16_t>(keyEvent->key());
    if (key != 0)
        guarded([&] {
            FormKeyDown(this, key, keyEvent->modifiers());
            followAnswerKey(key);
        });
    return false;
}

// Keys that move the focus or work the focused control: from then on the focus is shown.
bool TForm1::movesAbout(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
        return true;
    default:
        return false;
    }
}

// A screen that comes up keeps the focus in it: the results screen on its score line, so that
// a screen reader reads the score; another screen on its first control when the focus was on
// a control now hidden.
void TForm1::screenShown(QWidget* screen) {
    if (!screen->isVisible() || !screen->isEnabled()) return;
    // Where the window is embedded in another, the focus elsewhere there stays where it is. A
    // message box still closing (Finish's question) is not elsewhere: the focus it leaves goes
    // to this screen.
    QWidget* focused = QApplication::focusWidget();
    if (focused && !ownsFocusOf(focused) && focused->window() == window()) return;
    if (screen == ResultPanel) {
        Iscore->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (screen != StartPanel && screen != FrontPanel && screen != QuestionPanel) return;
    // Once the handler that changed the screen has filled it.
    QTimer::singleShot(0, screen, [this, screen] {
        const QWidget* focused = QApplication::focusWidget();
        if (!screen->isVisible() || (focused && (!ownsFocusOf(focused) || focused->isVisible())))
            return;
        for (QWidget* next = nextInFocusChain(); next != this; next = next->nextInFocusChain()) {
            if (screen->isAncestorOf(next) && (next->focusPolicy() & Qt::TabFocus) &&
                next->isVisible() && next->isEnabled()) {
                next->setFocus(Qt::OtherFocusReason);
                return;
            }
        }
    });
}

// Whether `widget` is this window or one of its controls.
bool TForm1::ownsFocusOf(const QWidget* widget) const {
    return widget == this || isAncestorOf(widget);
}

bool TForm1::isInPageView(const QObject* object) const {
    if (!Front || !Question) return false;
    for (; object && object != this; object = object->parent())
        if (object == Front->widget() || object == Question->widget()) return true;
    return false;
}

// The widgets that take the focus inside a page view follow the view in the Tab order.
void TForm1::chainPageViews() {
    pageChainDue_ = false;
    for (QWidget* page : {Front->widget(), Question->widget()}) {
        QWidget* last = page;
        for (QWidget* inner : page->findChildren<QWidget*>())
            if (inner->focusPolicy() & Qt::TabFocus) {
                setTabOrder(last, inner);
                last = inner;
            }
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    guarded([this] { FormClose(this); });
    event->accept();
}

} // namespace corvane
