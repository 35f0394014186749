// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QSize>
#include <QString>

// Drawing helpers shared by the window's pictures: glossy soft-cornered shapes and
// friendly centred words.
namespace corvane::painting {

inline const QColor kOrange{0xFF, 0x99, 0x00};
inline const QColor kRedOrange{0xFF, 0x33, 0x00};
inline const QColor kRed{0xE0, 0x10, 0x10};
inline const QColor kYellow{0xFF, 0xDD, 0x22};
inline const QColor kPaleOrange{0xFF, 0xCC, 0x66};
inline const QColor kScreenArea{0xCC, 0xBD, 0xBD};
inline const QColor kLightGrey{0xDC, 0xDC, 0xDC};
inline const QColor kInk{0x10, 0x10, 0x10};

// An image of the given size filled with one colour (transparent if the colour is).
QImage canvas(QSize size, const QColor& background);

// A painter with antialiasing for shapes and text.
void prepare(QPainter& painter);

// A soft-cornered box in the base colour with a gentle gloss at the top, a faint shade at
// the bottom and a darker outline. The middle of the box keeps the plain base colour.
void softBox(QPainter& painter, const QRectF& box, const QColor& base, qreal radius);

// The bold rounded font of the pictures at a pixel size.
QFont friendlyFont(int pixelSize);

// Words centred on a point: horizontally by their advance, vertically by the capital height,
// so mixed-case words sit in the optical middle.
void centredWords(QPainter& painter, QPointF centre, const QString& words, int pixelSize,
                  const QColor& colour = kInk);

} // namespace corvane::painting
