// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/fonts.h"
#include "pupil/pictures.h"

#include <QColor>
#include <QtTest>

using corvane::Picture;
Q_DECLARE_METATYPE(corvane::Picture)

namespace {

constexpr int kPictureCount = int(Picture::WindowIcon) + 1;
const QColor kOrange(0xFF, 0x99, 0x00);
const QColor kRedOrange(0xFF, 0x33, 0x00);

QString nameOf(Picture picture) {
    return QString("picture %1").arg(int(picture));
}

bool isInk(QRgb pixel) {
    return qAlpha(pixel) > 128 && qRed(pixel) < 90 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

bool closeTo(QRgb pixel, const QColor& colour, int tolerance) {
    return qAbs(qRed(pixel) - colour.red()) <= tolerance &&
           qAbs(qGreen(pixel) - colour.green()) <= tolerance &&
           qAbs(qBlue(pixel) - colour.blue()) <= tolerance && qAlpha(pixel) == 255;
}

int inkIn(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += isInk(image.pixel(x, y));
    return count;
}

QImage draw(Picture picture) {
    return corvane::drawPicture(picture).convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { corvane::registerFontSubstitutes(); }

    void sizes_data() {
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<QSize>("size");
        const auto rows = [](std::initializer_list<Picture> pictures, QSize size) {
            for (Picture picture : pictures)
                QTest::newRow(qPrintable(nameOf(picture))) << picture << size;
        };
        rows({Picture::ScreenFrame}, {730, 515});
        rows({Picture::StartTestButton}, {63, 63});
        rows({Picture::NameField}, {390, 63});
        rows({Picture::SelectTestBanner, Picture::TestResultsBanner}, {290, 43});
        rows({Picture::ClickStartButton}, {280, 40});
        rows({Picture::FirstButton, Picture::PreviousButton, Picture::NextButton,
              Picture::LastButton, Picture::HelpButton},
             {50, 25});
        rows({Picture::FinishButton, Picture::ResetButton, Picture::QuitButton,
              Picture::ReviewButton, Picture::PrintButton, Picture::ClearButton,
              Picture::AnswerLabel, Picture::YesButton, Picture::NoButton},
             {100, 25});
        rows({Picture::LetterA, Picture::LetterB, Picture::LetterC, Picture::LetterD,
              Picture::LetterE, Picture::BlankSquare, Picture::TickEmpty, Picture::TickChosen},
             {25, 25});
        rows({Picture::QuestionBackdrop}, {250, 30});
        rows({Picture::AnswerFrame}, {250, 29});
        rows({Picture::WindowIcon}, {32, 32});
    }
    void sizes() {
        QFETCH(Picture, picture);
        QFETCH(QSize, size);
        QCOMPARE(corvane::pictureSize(picture), size);
        QCOMPARE(corvane::drawPicture(picture).size(), size);
    }

    // A pixel in a plain part of the body shows the picture's named colour.
    void bodyColours_data() {
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("tolerance");
        const QColor yellowish(0xFF, 0xDD, 0x22), red(0xE0, 0x10, 0x10), grey(0xDC, 0xDC, 0xDC);
        QTest::newRow("screen area")
            << Picture::ScreenFrame << QPoint(365, 250) << QColor(0xCC, 0xBD, 0xBD) << 0;
        QTest::newRow("screen outside")
            << Picture::ScreenFrame << QPoint(0, 0) << QColor(Qt::white) << 0;
        QTest::newRow("screen bezel") << Picture::ScreenFrame << QPoint(12, 257) << red << 40;
        QTest::newRow("start test body")
            << Picture::StartTestButton << QPoint(8, 31) << kOrange << 6;
        QTest::newRow("start test corner")
            << Picture::StartTestButton << QPoint(57, 57) << red << 50;
        QTest::newRow("name field") << Picture::NameField << QPoint(230, 33) << kOrange << 6;
        QTest::newRow("banner") << Picture::SelectTestBanner << QPoint(6, 21) << yellowish << 6;
        QTest::newRow("click start")
            << Picture::ClickStartButton << QPoint(6, 20) << kRedOrange << 6;
        QTest::newRow("small button") << Picture::HelpButton << QPoint(4, 12) << kOrange << 6;
        QTest::newRow("word button") << Picture::ReviewButton << QPoint(4, 12) << kOrange << 6;
        QTest::newRow("yes") << Picture::YesButton << QPoint(4, 12) << kRedOrange << 6;
        QTest::newRow("letter") << Picture::LetterC << QPoint(3, 12) << kRedOrange << 6;
        QTest::newRow("blank") << Picture::BlankSquare << QPoint(12, 12) << kRedOrange << 6;
        QTest::newRow("backdrop") << Picture::QuestionBackdrop << QPoint(125, 15) << kOrange << 6;
        QTest::newRow("frame inside")
            << Picture::AnswerFrame << QPoint(125, 14) << QColor(0xFF, 0xCC, 0x66) << 0;
        QTest::newRow("frame outline")
            << Picture::AnswerFrame << QPoint(1, 14) << QColor(0x5A, 0x3A, 0x10) << 40;
        QTest::newRow("tick empty") << Picture::TickEmpty << QPoint(12, 12) << grey << 6;
        QTest::newRow("tick chosen") << Picture::TickChosen << QPoint(21, 12) << kRedOrange << 6;
    }
    void bodyColours() {
        QFETCH(Picture, picture);
        QFETCH(QPoint, at);
        QFETCH(QColor, colour);
        QFETCH(int, tolerance);
        const QRgb pixel = draw(picture).pixel(at);
        QVERIFY2(closeTo(pixel, colour, tolerance),
                 qPrintable(QString("got %1").arg(QColor::fromRgba(pixel).name(QColor::HexArgb))));
    }

    // Outside their soft corners pictures let the screen behind show through; the screen frame
    // is white around its bezel, and the answer frames sit on the white answer panels.
    void corners() {
        for (int i = 0; i < kPictureCount; ++i) {
            const auto picture = Picture(i);
            const bool masked = picture != Picture::ScreenFrame && picture != Picture::AnswerFrame;
            const QImage image = draw(picture);
            const QPoint far(image.width() - 1, image.height() - 1);
            for (QPoint corner : {QPoint(0, 0), far}) {
                const QRgb pixel = image.pixel(corner);
                if (masked)
                    QCOMPARE(qAlpha(pixel), 0);
                else
                    QCOMPARE(pixel, qRgb(255, 255, 255));
            }
        }
    }

    // Words and marks are drawn in dark ink; plain pictures carry none.
    void ink_data() {
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<bool>("inked");
        for (int i = 0; i < kPictureCount; ++i) {
            const auto picture = Picture(i);
            const QSize size = corvane::pictureSize(picture);
            const bool plain = picture == Picture::ScreenFrame || picture == Picture::BlankSquare ||
                               picture == Picture::QuestionBackdrop ||
                               picture == Picture::AnswerFrame || picture == Picture::TickEmpty ||
                               picture == Picture::TickChosen;
            QTest::newRow(qPrintable(nameOf(picture)))
                << picture << QRect(QPoint(), size) << !plain;
        }
        QTest::newRow("name word") << Picture::NameField << QRect(0, 0, 85, 63) << true;
        QTest::newRow("under name box") << Picture::NameField << QRect(85, 18, 292, 32) << false;
    }
    void ink() {
        QFETCH(Picture, picture);
        QFETCH(QRect, area);
        QFETCH(bool, inked);
        const int count = inkIn(draw(picture), area);
        if (inked)
            QVERIFY2(count >= 12, qPrintable(QString("only %1 ink pixels").arg(count)));
        else
            QCOMPARE(count, 0);
    }

    // Pictures that share a size are told apart by the pupil, so no two may look the same.
    void samePixelsNeverTwice() {
        for (int i = 0; i < kPictureCount; ++i)
            for (int j = i + 1; j < kPictureCount; ++j)
                if (corvane::pictureSize(Picture(i)) == corvane::pictureSize(Picture(j)))
                    QVERIFY2(draw(Picture(i)) != draw(Picture(j)),
                             qPrintable(nameOf(Picture(i)) + " equals " + nameOf(Picture(j))));
    }

    void arrows_data() {
        QTest::addColumn<Picture>("picture");
        QTest::addColumn<bool>("left");
        QTest::addColumn<bool>("twin");
        QTest::newRow("first") << Picture::FirstButton << true << true;
        QTest::newRow("previous") << Picture::PreviousButton << true << false;
        QTest::newRow("next") << Picture::NextButton << false << false;
        QTest::newRow("last") << Picture::LastButton << false << true;
    }
    // An arrowhead is a point on one side and a broad back on the other.
    void arrows() {
        QFETCH(Picture, picture);
        QFETCH(bool, left);
        QFETCH(bool, twin);
        const QImage image = draw(picture);
        QList<int> columns;
        for (int x = 0; x < image.width(); ++x)
            if (const int count = inkIn(image, QRect(x, 0, 1, image.height())); count > 0)
                columns.append(count);
        QVERIFY(!columns.isEmpty());
        QCOMPARE(columns.first() < columns.last(), left);
        QCOMPARE(columns.size() > 14, twin);
    }

    void menuIcons_data() {
        QTest::addColumn<int>("side");
        for (const int side : {16, 48, 256})
            QTest::newRow(qPrintable(QString("%1 pixels").arg(side))) << side;
    }
    // The menu's icons are the window's icon at other sizes: brought to a common size, each
    // must look like it, with the same words in the same place, not merely the same box.
    void menuIcons() {
        QFETCH(int, side);
        const QImage icon = corvane::drawWindowIcon(side);
        QCOMPARE(icon.size(), QSize(side, side));
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        const int common = qMin(side, 32);
        const auto atCommonSize = [common](const QImage& image) {
            return image.scaled(common, common, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_ARGB32);
        };
        const QImage scaled = atCommonSize(icon);
        const QImage window = atCommonSize(draw(Picture::WindowIcon));
        qint64 difference = 0;
        for (int y = 0; y < common; ++y)
            for (int x = 0; x < common; ++x)
                difference += qAbs(qGray(scaled.pixel(x, y)) - qGray(window.pixel(x, y)));
        const qint64 mean = difference / (common * common);
        QVERIFY2(mean < 12, qPrintable(QString("mean difference %1").arg(mean)));
        QVERIFY(inkIn(scaled, QRect(common / 4, common / 4, common / 2, common / 2)) > 0);
    }
};

QTEST_MAIN(PicturesTest)
#include "test_pictures.moc"
