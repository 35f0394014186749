// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

namespace corvane {

// The drawing attributes of a surface. Drawing routines set what they rely on and leave
// what they set, so the state after a routine is observable.
struct CanvasState {
    QColor brushColor = Qt::white;
    bool brushClear = false; // clear brush: text is drawn without filling its cell
    QColor penColor = Qt::black;
    QString fontName = QStringLiteral("MS Sans Serif");
    int fontSize = 8; // points at 96 pixels per inch
    bool fontBold = false;
    QColor fontColor = Qt::black; // the system's window-text colour
};

// An image control: shows a picture (optionally stretched), or, without a picture, a drawing
// surface of its own size. Emits a click and a mouse press with the button and position.
// What it is to a screen reader and to the keyboard is its kind: a button or a tick box takes
// the focus from Tab and is pressed with Space; a text box speaks the words drawn on it.
class ImageControl : public QWidget {
    Q_OBJECT
  public:
    enum class Kind { Picture, Button, CheckBox, Text };

    explicit ImageControl(QWidget* parent = nullptr);

    Kind kind() const { return kind_; }
    void setKind(Kind kind);
    // A tick box's state, as drawn; a change is told to screen readers.
    bool isChecked() const { return checked_; }
    void setChecked(bool checked);
    // The words drawn on the surface since it was last filled whole, in drawing order.
    const QString& shownText() const { return shownText_; }
    // Put before the shown text in the spoken name of a control without a fixed name.
    void setNamePrefix(const QString& prefix) { namePrefix_ = prefix; }
    QString spokenName() const;
    // A press from the keyboard or a screen reader: a left-button press and click in the middle.
    void press();
    // Whether a click or a press on the control does anything.
    bool answersPress() const;

    void setPicture(const QImage& picture, bool stretch = false);
    const QImage& picture() const { return picture_; }
    bool stretch() const { return stretch_; }

    // Pixels of the bottom-left pixel's colour are not painted.
    void setTransparent(bool transparent);
    bool transparent() const { return transparent_; }

    // The drawing surface; it becomes the picture. Created at the control's size when first used.
    QImage& surface();
    CanvasState& canvas() { return canvas_; }
    void surfaceChanged() { update(); }

    // Surface operations used by the drawing routines.
    void fillRect(const QRect& rect);
    void frameRect(const QRect& rect);
    int textWidth(const QString& text);
    void textOut(int x, int y, const QString& text);
    void copyRect(const QRect& rect, const QImage& source);

    // The font of the canvas, sized in pixels from its point size (96 pixels per inch).
    QFont canvasFont() const;

  signals:
    void clicked(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void shownTextChanged(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QImage shownImage() const;
    void setShownText(const QString& text);

    QImage picture_;
    bool stretch_ = false;
    bool transparent_ = false;
    bool pressed_ = false;
    CanvasState canvas_;
    Kind kind_ = Kind::Picture;
    bool checked_ = false;
    QString shownText_;
    QString namePrefix_;
};

// Point size to pixel height at 96 pixels per inch.
int pointsToPixels(int points);

} // namespace corvane
