// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"

#include <QtTest>

using corvane::fromTColor;
using corvane::ImageControl;
using corvane::TColor;
using corvane::TForm1;

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kAnswerFill = 0x60C8FF;
constexpr TColor kResultFill = 0xC0C0D0;

QColor at(ImageControl& image, int x, int y) {
    return QColor(image.surface().pixel(x, y));
}

// Columns of the leftmost and rightmost pixel that differ from `background`; -1 when none.
std::pair<int, int> inkColumns(ImageControl& image, const QColor& background) {
    int left = -1, right = -1;
    const QImage& surface = image.surface();
    for (int x = 0; x < surface.width(); ++x)
        for (int y = 0; y < surface.height(); ++y)
            if (QColor(surface.pixel(x, y)) != background) {
                if (left < 0) left = x;
                right = x;
            }
    return {left, right};
}

} // namespace

class DrawingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        corvane::registerFontSubstitutes();
        desktop.display.size = {800, 600};
        form = std::make_unique<TForm1>(desktop.seams());
    }

    void clearscreenFillsWithSolidBrushAndPen() {
        ImageControl image;
        image.resize(12, 8);
        image.canvas().brushClear = true;
        form->Clearscreen(&image, kRed);
        QCOMPARE(at(image, 0, 0), fromTColor(kRed));
        QCOMPARE(at(image, 11, 7), fromTColor(kRed));
        QCOMPARE(image.canvas().brushColor, fromTColor(kRed));
        QCOMPARE(image.canvas().penColor, fromTColor(kRed));
        QVERIFY(!image.canvas().brushClear);
    }

    // The frame lies on every edge pixel inside the area; the inside keeps the fill.
    void clearscreen2FramesAllFourEdges() {
        ImageControl image;
        image.resize(9, 6);
        form->Clearscreen2(&image, kAnswerFill);
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 6; ++y) {
                const bool edge = x == 0 || y == 0 || x == 8 || y == 5;
                QCOMPARE(at(image, x, y), edge ? QColor(Qt::black) : fromTColor(kAnswerFill));
            }
        QCOMPARE(image.canvas().brushColor, QColor(Qt::black));
    }

    void clearscreen3TakesTheControlsSize() {
        ImageControl surface;
        surface.resize(40, 30);
        QWidget control;
        control.resize(20, 10);
        form->Clearscreen3(&surface, &control, kRed);
        QCOMPARE(at(surface, 19, 9), QColor(Qt::black));
        QCOMPARE(at(surface, 0, 5), QColor(Qt::black));
        QCOMPARE(at(surface, 10, 5), fromTColor(kRed));
        QCOMPARE(at(surface, 30, 20), QColor(Qt::white)); // outside the control: untouched
    }

    // Mode 1 must land exactly where mode 0 draws at the centred x; the offsets model a text
    // of width 101 in 216 (57.5 → 57) and texts wider than the image (−4 → −2, −5 → −2: the
    // division truncates toward zero, it does not round down).
    void printf4Centres_data() {
        QTest::addColumn<int>("spare"); // image width minus text width
        QTest::addColumn<int>("left");
        QTest::addRow("101 in 216") << 115 << 57;
        QTest::addRow("even overflow") << -4 << -2;
        QTest::addRow("odd overflow") << -5 << -2;
    }
    void printf4Centres() {
        QFETCH(int, spare);
        QFETCH(int, left);
        const corvane::Text text = "Wide text";
        ImageControl probe;
        probe.canvas().fontName = "Comic Sans MS";
        probe.canvas().fontSize = 18;
        probe.canvas().fontBold = true;
        const int width = probe.textWidth(corvane::toQt(text)) + spare;

        ImageControl centred, expected;
        for (ImageControl* image : {&centred, &expected}) {
            image->resize(width, 30);
            form->Clearscreen(image, kAnswerFill);
        }
        form->Printf4(&centred, 0, 18, 999, 0, text, 1);
        form->Printf4(&expected, 0, 18, left, 0, text, 0);
        QCOMPARE(centred.surface(), expected.surface());
    }

    void printf4RightAlignsAndIgnoresOtherModes() {
        const corvane::Text text = "AB";
        ImageControl right, left, other;
        for (ImageControl* image : {&right, &left, &other}) {
            image->resize(120, 30);
            form->Clearscreen(image, kAnswerFill);
        }
        form->Printf4(&right, 0, 18, 100, 0, text, 2);
        const int width = right.textWidth(corvane::toQt(text));
        form->Printf4(&left, 0, 18, 100 - width, 0, text, 0);
        QCOMPARE(right.surface(), left.surface());
        QVERIFY(inkColumns(right, fromTColor(kAnswerFill)).second < 100);

        const QImage before = other.surface();
        form->Printf4(&other, 0, 18, 10, 0, text, 3);
        QCOMPARE(other.surface(), before);
    }

    // Printf4 draws glyphs only, in its colour, and leaves the brush clear.
    void printf4IsTransparentAndLeavesBrushClear() {
        ImageControl image;
        image.resize(60, 30);
        form->Clearscreen(&image, kAnswerFill);
        form->Printf4(&image, kRed, 18, 4, -6, "A", 0);
        QVERIFY(image.canvas().brushClear);
        QCOMPARE(image.canvas().fontColor, fromTColor(kRed));
        QCOMPARE(at(image, 4, 0), fromTColor(kAnswerFill)); // cell corner: no box behind text
        bool redInk = false;
        for (int x = 0; x < 60 && !redInk; ++x)
            for (int y = 0; y < 30 && !redInk; ++y)
                redInk = at(image, x, y) == fromTColor(kRed);
        QVERIFY(redInk);
    }

    // Order labels (Printf4 at size 18, top -6, in a 25-pixel place) keep the tops of their
    // capitals where Comic Sans MS puts them, about 3 pixels down, whatever font stands in for
    // it: nothing falls off the top of the place, and the baseline stays near the bottom.
    void printf4PlacesCapitalsAsTheNamedFont() {
        ImageControl place;
        place.resize(25, 25);
        form->Clearscreen(&place, 0xFFFFFF);
        form->Printf4(&place, 0x000000, 18, 4, -6, "E", 0);
        int top = -1;
        int bottom = -1;
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 25; ++x)
                if (qGray(place.surface().pixel(x, y)) < 128) {
                    if (top < 0) top = y;
                    bottom = y;
                }
        QVERIFY2(top >= 2 && top <= 4, qPrintable(QString("top of the capital at %1").arg(top)));
        QVERIFY2(bottom >= 18 && bottom <= 21,
                 qPrintable(QString("baseline of the capital at %1").arg(bottom + 1)));
    }

    void drawButtonFlagZeroOnlyFills_data() {
        QTest::addColumn<bool>("results");
        QTest::addRow("DrawButton2") << false;
        QTest::addRow("DrawButton1") << true;
    }
    void drawButtonFlagZeroOnlyFills() {
        QFETCH(bool, results);
        ImageControl image;
        image.resize(216, 23);
        if (results)
            form->DrawButton1(&image, 18, 20, "Hidden", 0);
        else
            form->DrawButton2(&image, 14, -1, "Hidden", 0);
        const QColor fill = fromTColor(results ? kResultFill : kAnswerFill);
        QCOMPARE(inkColumns(image, fill), std::make_pair(-1, -1));
        QCOMPARE(image.canvas().fontName, QStringLiteral("Arial"));
        QVERIFY(image.canvas().fontBold);
    }

    // Centred text sits in the middle, on no box of its own, in the colour the surface had.
    void drawButton2CentresInTheSurfacesFontColour() {
        ImageControl image;
        image.resize(216, 23);
        image.canvas().fontColor = fromTColor(kRed);
        form->DrawButton2(&image, 14, -1, "Correct", 1);
        const auto [left, right] = inkColumns(image, fromTColor(kAnswerFill));
        QVERIFY(left > 0);
        QVERIFY2(qAbs(left - (215 - right)) <= 3,
                 qPrintable(QString("%1..%2").arg(left).arg(right)));
        QCOMPARE(image.canvas().fontColor, fromTColor(kRed));
        QCOMPARE(at(image, left, 0), fromTColor(kAnswerFill));
    }

    void drawButtonPutsTheListImageOnWhite() {
        corvane::ImageList list;
        for (int k = 0; k < 2; ++k) {
            list.images[k] = QImage(5, 5, QImage::Format_ARGB32);
            list.images[k].fill(k == 0 ? Qt::red : Qt::blue);
        }
        ImageControl image;
        image.resize(10, 10);
        form->Clearscreen(&image, kAnswerFill);
        form->DrawButton(&image, list, 1);
        QCOMPARE(at(image, 0, 0), QColor(Qt::blue));
        QCOMPARE(at(image, 4, 4), QColor(Qt::blue));
        QCOMPARE(at(image, 5, 5), QColor(Qt::white));
        QCOMPARE(at(image, 9, 0), QColor(Qt::white));
    }

  private:
    corvane::testing::FakeDesktop desktop;
    std::unique_ptr<TForm1> form;
};

QTEST_MAIN(DrawingTest)
#include "test_drawing.moc"
