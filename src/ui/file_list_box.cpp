#include "ui/file_list_box.h"

#include <QMouseEvent>

namespace corvane {
namespace {

// The capital of a small Latin-1 letter (a..z, à..þ but not the division sign); every other
// character as it is.
QChar latin1Capital(QChar c) {
    const char16_t code = c.unicode();
    const bool small =
        (code >= u'a' && code <= u'z') || (code >= 0xE0 && code <= 0xFE && code != 0xF7);
    return small ? QChar(char16_t(code - 32)) : c;
}

// Order without regard to the letter case of the Latin-1 letters (Ä with ä, É with é).
bool sortsBefore(const QString& left, const QString& right) {
    const qsizetype n = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < n; ++i) {
        const QChar a = latin1Capital(left[i]);
        const QChar b = latin1Capital(right[i]);
        if (a != b) return a < b;
    }
    return left.size() < right.size();
}

} // namespace

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
    while (row < count() && !sortsBefore(entry, item(row)->text()))
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

void FileListBox::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    canvas_->setGeometry(rect());
}

} // namespace corvane
