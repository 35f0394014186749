#pragma once

#include "ui/image_control.h"

#include <QListWidget>

namespace corvane {

// The test list: a list box whose entries stay sorted without regard to letter case, drawn
// over a surface of its own size that the drawing routines can clear.
class FileListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit FileListBox(QWidget* parent = nullptr);

    // Inserts `entry` at its place in the case-insensitive order.
    void addSorted(const QString& entry);
    QStringList entries() const;

    // The surface behind the entries, kept at the list's size.
    ImageControl* canvasImage() {
        canvas_->setGeometry(rect());
        return canvas_;
    }

  signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    ImageControl* canvas_;
};

} // namespace corvane
