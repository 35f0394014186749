// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

namespace corvane {

// A ring drawn around the control that has the keyboard focus (around the current entry of a
// list), on top of the window's other controls and letting the mouse through. It shows once
// the keyboard is used to move about the window and hides again at the next mouse press, so
// that a pupil with a mouse sees the window as it is.
class FocusRing : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 2;
    static QColor colour();

    explicit FocusRing(QWidget* window);

    void setActive(bool active);
    bool isActive() const { return active_; }
    // The area the ring is drawn around, in the window's coordinates; empty when none.
    QRect target() const;
    void refresh();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void follow(QWidget* focused);

    bool active_ = false;
    QPointer<QWidget> focused_;
};

} // namespace corvane
