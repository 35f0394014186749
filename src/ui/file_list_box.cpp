#include "ui/file_list_box.h"

#include <QMouseEvent>

namespace corvane {
namespace {

// Case-insensitive order on the letters a..z only, as the rest of the program upper-cases.
bool sortsBefore(const QString& left, const QString& right) {
    auto fold = [](QChar c) { return (c >= 'a' && c <= 'z') ? QChar(c.unicode() - 32) : c; };
    const qsizetype n = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < n; ++i) {
        const QChar a = fold(left[i]);
        const QChar b = fold(right[i]);
        if (a != b) return a < b;
    }
    return left.size() < right.size();
}

} // namespace

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent), canvas_(new ImageControl(this)) {
    setFrameShape(QFrame::NoFrame);
    canvas_->lower();
    canvas_->setAttribute(Qt::WA_TransparentForMouseEvents);
    viewport()->setAutoFillBackground(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    setPalette(colours);
}

void FileListBox::addSorted(const QString& entry) {
    int row = 0;
    while (row < count() && !sortsBefore(entry, item(row)->text()))
        ++row;
    insertItem(row, entry);
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
