// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pupil/image_control.h"

#include <QListWidget>

namespace corvane {

// The test list: a list box whose entries stay sorted without regard to letter case, drawn
// over a surface of its own size that the drawing routines can clear. Each entry keeps the
// bytes of its file's path beside the text it shows.
class FileListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit FileListBox(QWidget* parent = nullptr);

    // Inserts `entry` at its place in the case-insensitive order; `fileName` is the entry's
    // path as the file system holds it.
    void addSorted(const QString& entry, const QByteArray& fileName);
    QStringList entries() const;
    static QByteArray fileName(const QListWidgetItem* item);

    // The surface behind the entries, kept at the list's size.
    ImageControl* canvasImage() {
        canvas_->setGeometry(rect());
        return canvas_;
    }

  signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    // The keys moved the current entry to another one.
    void keyboardMoved();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    ImageControl* canvas_;
};

} // namespace corvane
