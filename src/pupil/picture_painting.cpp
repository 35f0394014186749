// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/picture_painting.h"

#include <QFontMetricsF>
#include <QLinearGradient>

namespace corvane::painting {

QImage canvas(QSize size, const QColor& background) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    return image;
}

void prepare(QPainter& painter) {
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
}

void softBox(QPainter& painter, const QRectF& box, const QColor& base, qreal radius) {
    const QRectF shape = box.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(shape, radius, radius);
    painter.fillPath(path, base);

    // Gloss fading out before the middle, shade starting after it.
    QLinearGradient light(shape.topLeft(), shape.bottomLeft());
    light.setColorAt(0.0, QColor(255, 255, 255, 120));
    light.setColorAt(0.42, QColor(255, 255, 255, 0));
    light.setColorAt(0.62, QColor(0, 0, 0, 0));
    light.setColorAt(1.0, QColor(0, 0, 0, 45));
    painter.fillPath(path, light);

    painter.strokePath(path, QPen(base.darker(150), 1.0));
}

QFont friendlyFont(int pixelSize) {
    QFont font("Comic Sans MS");
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

void centredWords(QPainter& painter, QPointF centre, const QString& words, int pixelSize,
                  const QColor& colour) {
    const QFont font = friendlyFont(pixelSize);
    const QFontMetricsF metrics(font);
    const QPointF baseline(centre.x() - metrics.horizontalAdvance(words) / 2,
                           centre.y() + metrics.capHeight() / 2);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(baseline, words);
}

} // namespace corvane::painting
