// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/file_list_box.h"

#include "core/library.h"

#include <QMouseEvent>

namespace corvane {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent), canvas_(new ImageControl(this)) {
    setFrameShape(QFrame::NoFrame);
    // The entries stay inside the one-pixel frame drawn on the surface, so that no selection
    // paints over it.
    setViewportMargins(1, 1, 1, 1);
    canvas_->lower();
    canvas_->setAttribute(Qt::WA_TransparentForMouseEvents);
    viewport()->setAutoFillBackground(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    setPalette(colours);
}

void FileListBox::addSorted(const QString& entry, const QByteArray& fileName) {
    int row = 0;
    while (row < count() && !listsBefore(entry, item(row)->text()))
        ++row;
    auto* added = new QListWidgetItem(entry);
    added->setData(Qt::UserRole, fileName);
    insertItem(row, added);
}

QByteArray FileListBox::fileName(const QListWidgetItem* item) {
    return item->data(Qt::UserRole).toByteArray();
}

QStringList FileListBox::entries() const {
    QStringList names;
    for (int row = 0; row < count(); ++row)
        names << item(row)->text();
    return names;
}

void FileListBox::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    emit mousePressed(event->button(), event->modifiers(), event->position().toPoint());
}

// With no entry current, End goes to the last entry (the list's own move would pick the first).
QModelIndex FileListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action == MoveEnd && !currentIndex().isValid() && count() > 0)
        return indexFromItem(item(count() - 1));
    return QListWidget::moveCursor(action, modifiers);
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    const QListWidgetItem* before = currentItem();
    QListWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before) emit keyboardMoved();
}

// Coming into the list makes no entry current: the current entry is the loaded test, and only
// a press or a move with the keys loads one.
void FileListBox::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void FileListBox::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    canvas_->setGeometry(rect());
}

} // namespace corvane
