// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/image_control.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace corvane {

int pointsToPixels(int points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ImageControl::setKind(Kind kind) {
    kind_ = kind;
    setFocusPolicy(kind == Kind::Button || kind == Kind::CheckBox ? Qt::TabFocus : Qt::NoFocus);
}

void ImageControl::setChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

QString ImageControl::spokenName() const {
    if (!accessibleName().isEmpty()) return accessibleName();
    return namePrefix_ + shownText_.trimmed();
}

void ImageControl::setShownText(const QString& text) {
    if (text == shownText_) return;
    shownText_ = text;
    emit shownTextChanged(text);
    if (accessibleName().isEmpty()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void ImageControl::press() {
    const QPoint middle = rect().center();
    emit mousePressed(Qt::LeftButton, Qt::NoModifier, middle);
    emit clicked(Qt::LeftButton, Qt::NoModifier, middle);
}

bool ImageControl::answersPress() const {
    return isSignalConnected(QMetaMethod::fromSignal(&ImageControl::clicked)) ||
           isSignalConnected(QMetaMethod::fromSignal(&ImageControl::mousePressed));
}

void ImageControl::setPicture(const QImage& picture, bool stretch) {
    picture_ = picture;
    stretch_ = stretch;
    update();
}

void ImageControl::setTransparent(bool transparent) {
    transparent_ = transparent;
    update();
}

QImage& ImageControl::surface() {
    // The surface always has the control's size; what was drawn before stays at the top left.
    const bool fresh = picture_.format() != QImage::Format_ARGB32_Premultiplied;
    if (fresh || picture_.size() != size()) {
        QImage canvas(size(), QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::white);
        if (!picture_.isNull()) {
            QPainter painter(&canvas);
            painter.drawImage(0, 0, picture_);
        }
        picture_ = canvas;
    }
    return picture_;
}

void ImageControl::fillRect(const QRect& rect) {
    QPainter painter(&surface());
    painter.fillRect(rect, canvas_.brushColor);
    if (rect.contains(this->rect())) setShownText(QString());
    update();
}

void ImageControl::frameRect(const QRect& rect) {
    QPainter painter(&surface());
    painter.setPen(QPen(canvas_.brushColor, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    update();
}

QFont ImageControl::canvasFont() const {
    QFont font(canvas_.fontName);
    font.setPixelSize(pointsToPixels(canvas_.fontSize));
    font.setBold(canvas_.fontBold);
    return font;
}

int ImageControl::textWidth(const QString& text) {
    return QFontMetrics(canvasFont()).horizontalAdvance(text);
}

void ImageControl::textOut(int x, int y, const QString& text) {
    QPainter painter(&surface());
    const QFont font = canvasFont();
    const QFontMetrics metrics(font);
    if (!canvas_.brushClear)
        painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
                         canvas_.brushColor);
    painter.setFont(font);
    painter.setPen(canvas_.fontColor);
    painter.drawText(x, y + metrics.ascent(), text);
    setShownText(shownText_.isEmpty() ? text : shownText_ + ' ' + text);
    update();
}

void ImageControl::copyRect(const QRect& rect, const QImage& source) {
    QPainter painter(&surface());
    painter.drawImage(rect.topLeft(), source, rect);
    update();
}

QImage ImageControl::shownImage() const {
    if (!transparent_ || picture_.isNull()) return picture_;
    QImage masked = picture_.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = masked.pixel(0, masked.height() - 1);
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
    }
    return masked;
}

void ImageControl::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    const QImage shown = shownImage();
    if (stretch_)
        painter.drawImage(rect(), shown);
    else
        painter.drawImage(0, 0, shown);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    pressed_ = true;
    emit mousePressed(event->button(), event->modifiers(), event->position().toPoint());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (wasPressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        emit clicked(event->button(), event->modifiers(), event->position().toPoint());
}

void ImageControl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && focusPolicy() != Qt::NoFocus)
        press();
    else
        QWidget::keyPressEvent(event);
}

} // namespace corvane
