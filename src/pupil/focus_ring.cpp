// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/focus_ring.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace corvane {
namespace {

constexpr int kGap = 1; // white space between a control and its ring

} // namespace

// A dark blue that stands out at more than 3:1 against white, the pale list, the orange
// and the red-orange of the buttons.
QColor FocusRing::colour() {
    return QColor(0x10, 0x20, 0x90);
}

FocusRing::FocusRing(QWidget* window) : QWidget(window) {
    setObjectName("FocusRing");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusRing::setActive(bool active) {
    if (active == active_) return;
    active_ = active;
    refresh();
}

void FocusRing::follow(QWidget* focused) {
    if (focused_) {
        focused_->removeEventFilter(this);
        if (auto* view = qobject_cast<QAbstractItemView*>(focused_.data())) {
            view->viewport()->removeEventFilter(this);
            disconnect(view->selectionModel(), nullptr, this, nullptr);
        }
    }
    focused_ = focused && parentWidget()->isAncestorOf(focused) ? focused : nullptr;
    if (focused_) {
        focused_->installEventFilter(this);
        if (auto* view = qobject_cast<QAbstractItemView*>(focused_.data())) {
            // The ring follows the current entry and the list's scrolling.
            view->viewport()->installEventFilter(this);
            connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                    &FocusRing::refresh);
        }
    }
    refresh();
}

bool FocusRing::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Paint:
        if (event->type() != QEvent::Paint || target() != geometry()) refresh();
        break;
    default:
        break;
    }
    return false;
}

QRect FocusRing::target() const {
    QWidget* window = parentWidget();
    if (!active_ || !focused_ || !focused_->isVisible()) return {};
    // Inside a browser view the ring goes round the whole page.
    QWidget* shown = focused_;
    for (QWidget* up = focused_; up && up != window; up = up->parentWidget())
        if (up->property("pageView").toBool()) shown = up;
    QRect area(shown->mapTo(window, QPoint(0, 0)), shown->size());
    if (auto* view = qobject_cast<QAbstractItemView*>(shown)) {
        const QRect entry = view->visualRect(view->currentIndex());
        if (entry.isValid()) {
            // Inside the entry, clear of the list's frame.
            const QRect inView = entry.intersected(view->viewport()->rect()).adjusted(1, 1, -1, -1);
            return QRect(view->viewport()->mapTo(window, inView.topLeft()), inView.size());
        }
    }
    // Round the control where there is room, else just inside its edge.
    const int out = kWidth + kGap;
    const QRect around = area.adjusted(-out, -out, out, out);
    return window->rect().contains(around) ? around : area.intersected(window->rect());
}

void FocusRing::refresh() {
    const QRect area = target();
    if (area.isEmpty()) {
        hide();
        return;
    }
    setGeometry(area);
    raise();
    show();
    update();
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(colour(), kWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(
        QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0));
}

} // namespace corvane
