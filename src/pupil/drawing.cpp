// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing routines shared by every screen: fills, frames, text and boxes on the surface
// of an image control. Each sets the attributes it relies on and leaves them set.
#include "pupil/form.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <cmath>

namespace corvane {

namespace {

// Fills `area` with `colour` (brush and pen take it, the brush solid).
void fill(ImageControl* image, const QRect& area, TColor colour) {
    CanvasState& canvas = image->canvas();
    canvas.brushColor = fromTColor(colour);
    canvas.brushClear = false;
    canvas.penColor = fromTColor(colour);
    image->fillRect(area);
}

// Fills `area`, then frames it one pixel wide in black; the brush stays black.
void fillAndFrame(ImageControl* image, const QRect& area, TColor colour) {
    fill(image, area, colour);
    image->canvas().brushColor = Qt::black;
    image->frameRect(area);
}

QRect areaOf(const QWidget* control) {
    return QRect(0, 0, control->width(), control->height());
}

// Comic Sans MS, the font the labels of the order places were laid out for: its ascent and the
// height of its capitals, as parts of its em (2257 and 1466 of 2048 units).
constexpr double kNamedAscent = 2257.0 / 2048;
constexpr double kNamedCapitalHeight = 1466.0 / 2048;

// The stand-in drawn for Comic Sans MS (Comic Neue) has a smaller ascent, so at the same cell
// top its capitals stand higher. The pixels to move `font`'s text down so that the tops of its
// capitals fall where the named font puts them; 0 where the named font itself is installed.
int namedFontShift(const QFont& font) {
    if (QFontInfo(font).family() == QLatin1String("Comic Sans MS")) return 0;
    const QFontMetricsF metrics(font);
    const double namedCapitalTop = font.pixelSize() * (kNamedAscent - kNamedCapitalHeight);
    return static_cast<int>(
        std::lround(namedCapitalTop - (metrics.ascent() - metrics.capHeight())));
}

// Left edge of `text` centred across the image, in the canvas font; truncates toward zero, so
// a text wider than the image starts left of it.
int centredLeft(ImageControl* image, const QString& text) {
    return (image->width() - image->textWidth(text)) / 2;
}

} // namespace

void TForm1::Clearscreen(ImageControl* image, TColor colour) {
    fill(image, areaOf(image), colour);
}

void TForm1::Clearscreen2(ImageControl* image, TColor colour) {
    fillAndFrame(image, areaOf(image), colour);
}

void TForm1::Clearscreen3(ImageControl* surface, QWidget* control, TColor colour) {
    fillAndFrame(surface, areaOf(control), colour);
}

void TForm1::Printf4(ImageControl* image, TColor textColour, std::int32_t size, std::int32_t x,
                     std::int32_t y, const Text& text, std::int32_t mode) {
    CanvasState& canvas = image->canvas();
    canvas.brushClear = true;
    canvas.fontColor = fromTColor(textColour);
    canvas.fontSize = size;
    canvas.fontName = "Comic Sans MS";
    canvas.fontBold = true;
    y += namedFontShift(image->canvasFont());
    const QString shown = toQt(text);
    switch (mode) {
    case 0:
        image->textOut(x, y, shown);
        break;
    case 1:
        image->textOut(centredLeft(image, shown), y, shown);
        break;
    case 2:
        image->textOut(x - image->textWidth(shown), y, shown);
        break;
    default:
        break;
    }
}

void TForm1::DrawButton(ImageControl* image, const ImageList& list, std::int32_t index) {
    Clearscreen(image, 0xFFFFFF);
    if (index < 0 || index >= static_cast<std::int32_t>(list.images.size())) raiseRangeCheck();
    image->copyRect(list.images[static_cast<std::size_t>(index)].rect(),
                    list.images[static_cast<std::size_t>(index)]);
    image->setChecked(index == 1); // image 1 is the tick
}

void TForm1::drawBoxText(ImageControl* image, TColor fill, std::int32_t size, std::int32_t y,
                         const Text& text, std::uint8_t centred) {
    Clearscreen(image, fill);
    CanvasState& canvas = image->canvas();
    canvas.fontSize = size;
    canvas.fontName = "Arial";
    canvas.fontBold = true;
    if (centred != 1) return;
    const QString shown = toQt(text);
    image->textOut(centredLeft(image, shown), y, shown);
}

void TForm1::DrawButton1(ImageControl* image, std::int32_t size, std::int32_t y, const Text& text,
                         std::uint8_t centred) {
    drawBoxText(image, 0xC0C0D0, size, y, text, centred);
}

void TForm1::DrawButton2(ImageControl* image, std::int32_t size, std::int32_t y, const Text& text,
                         std::uint8_t centred) {
    drawBoxText(image, 0x60C8FF, size, y, text, centred);
}

} // namespace corvane
