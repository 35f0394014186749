// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard: Enter goes on as Next does, the letters A..E tick the options of a choice
// question. Every key press of the window arrives here first and still reaches the focused
// control afterwards. Keys that mean nothing else on a screen work its controls: Y and N tick
// Yes and No, A..E place order items, Backspace clears the order, Enter presses the focused
// button of the results screen, Ctrl with plus, minus or 0 zooms the pages.
#include "pupil/file_list_box.h"
#include "pupil/form.h"

#include <QApplication>
#include <QLineEdit>

#include <algorithm>

namespace corvane {

namespace {

constexpr std::uint16_t kBackspaceKey = 8;
constexpr std::uint16_t kEnterKey = 13;
constexpr std::uint16_t kKeyA = 65;
constexpr std::uint16_t kKeyE = 69;
constexpr std::uint16_t kKeyN = 'N';
constexpr std::uint16_t kKeyY = 'Y';
constexpr int kZoomStep = 10;
constexpr int kZoomLeast = 50;
constexpr int kZoomMost = 300;

// The new zoom in per cent for a Ctrl key, or 0 when the key is none of the zoom keys.
int zoomFor(std::uint16_t key, int zoom) {
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return std::min(zoom + kZoomStep, kZoomMost);
    case Qt::Key_Minus:
        return std::max(zoom - kZoomStep, kZoomLeast);
    case Qt::Key_0:
        return 100;
    default:
        return 0;
    }
}

} // namespace

void TForm1::FormKeyDown(QObject*, std::uint16_t& Key, Qt::KeyboardModifiers Shift) {
    if (Shift & Qt::ControlModifier) {
        if (const int zoom = zoomFor(Key, pageZoom)) {
            pageZoom = zoom;
            for (BrowserView* page : {Front.get(), Question.get()})
                page->setZoom(pageZoom / 100.0);
            return;
        }
    }
    // Nothing on the results screen expects keys; the question screen behind it stays as it is.
    // Enter presses the button that has the focus there.
    if (ResultPanel->isVisibleTo(this)) {
        if (auto* button = qobject_cast<ImageControl*>(QApplication::focusWidget());
            Key == kEnterKey && button && button->isVisible() && button->answersPress())
            button->press();
        return;
    }

    if (Key == kEnterKey) goOn();
    if (currentQuestion <= 0) return;
    const std::int32_t type = store.questionType[currentQuestion];
    const std::int32_t options = store.optionCount[currentQuestion];

    // The answer keys that letters would type otherwise work only outside the text boxes.
    const bool typing = qobject_cast<QLineEdit*>(lastKeyReceiver_.data()) != nullptr;
    if (!typing && (Key == kKeyY || Key == kKeyN) && type == KYESNO) {
        MultiClick(Key == kKeyY ? YesSelect : NoSelect);
        return;
    }
    if (!typing && Key == kBackspaceKey && (type == KORDER || type == KORDERUSER)) {
        OrderClearClick(Iclear);
        return;
    }
    if (Key < kKeyA || Key > kKeyE) return;
    const std::int32_t option = Key - kKeyA + 1;
    if (option > options) return;
    if (!typing && (type == KORDER || type == KORDERUSER)) {
        LabelOrderClick(OrderPlaces[option - 1], Qt::LeftButton, Qt::NoModifier, 0, 0);
        return;
    }

    // Options are ticked only on choice questions, never while reviewing, and only among the
    // options on show.
    if (type != KSINGLECHOICE && type != KMULTICHOICE) return;
    if (reviewMode) return;
    recordOption(option);
}

// Loads the entry the keys moved to, exactly as a press on it does.
void TForm1::FileListKeyMove(QObject* Sender) {
    const QListWidgetItem* item = FileList->currentItem();
    if (!item) return;
    FileList->scrollToItem(item);
    const QPoint middle = FileList->visualItemRect(item).center();
    FileListMouseDown(Sender, Qt::LeftButton, Qt::NoModifier, middle.x(), middle.y());
}

} // namespace corvane
