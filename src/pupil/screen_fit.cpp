// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/screen_fit.h"

#include "pupil/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QScrollArea>
#include <QStyle>

#include <algorithm>

namespace corvane {
namespace {

// Room the window manager takes for the title bar and the borders.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 30;

class ScrollingFrame : public QScrollArea {
  public:
    explicit ScrollingFrame(TForm1& form) : form_(&form) {
        setWindowTitle(form.windowTitle());
        setWindowIcon(form.windowIcon());
        setObjectName("ScrollingFrame");
        // The frame is no stop of its own for Tab: the focus goes on into the window, and the
        // frame scrolls to whatever control takes it.
        setFocusPolicy(Qt::NoFocus);
        setWidget(&form);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && form_ && form_->isAncestorOf(now)) ensureWidgetVisible(now, 8, 8);
        });
    }
    ~ScrollingFrame() override { takeWidget(); }

  protected:
    void closeEvent(QCloseEvent* event) override {
        if (form_) form_->close();
        event->accept();
    }

  private:
    QPointer<TForm1> form_;
};

} // namespace

std::unique_ptr<QWidget> fitToScreen(TForm1& form, const QRect& available) {
    const QSize room = available.size() - QSize(kFrameWidth, kFrameHeight);
    if (form.width() <= room.width() && form.height() <= room.height()) return nullptr;
    auto frame = std::make_unique<ScrollingFrame>(form);
    const int edges = 2 * frame->frameWidth();
    const int bar = frame->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    frame->resize(std::min(room.width(), form.width() + edges + bar + 4),
                  std::min(room.height(), form.height() + edges + bar));
    return frame;
}

} // namespace corvane
