// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/pictures.h"

#include "pupil/picture_painting.h"

#include <QPolygonF>

#include <map>

namespace corvane {

using namespace painting;

namespace {

// A television-screen outline: rounded corners and sides that bow gently outwards, the
// middle of each side touching the rectangle's edge.
QPainterPath televisionPath(const QRectF& r, qreal radius, qreal bulge) {
    const qreal l = r.left() + bulge, t = r.top() + bulge;
    const qreal rt = r.right() - bulge, b = r.bottom() - bulge;
    const QPointF c = r.center();
    QPainterPath path;
    path.moveTo(l + radius, t);
    path.quadTo(c.x(), r.top() - bulge, rt - radius, t);
    path.quadTo(rt, t, rt, t + radius);
    path.quadTo(r.right() + bulge, c.y(), rt, b - radius);
    path.quadTo(rt, b, rt - radius, b);
    path.quadTo(c.x(), r.bottom() + bulge, l + radius, b);
    path.quadTo(l, b, l, b - radius);
    path.quadTo(r.left() - bulge, c.y(), l, t + radius);
    path.quadTo(l, t, l + radius, t);
    path.closeSubpath();
    return path;
}

QImage screenFrame(QSize size) {
    QImage image = canvas(size, Qt::white);
    QPainter p(&image);
    prepare(p);
    const QRectF outer = QRectF(QPointF(0, 0), size).adjusted(3, 3, -3, -3);
    const QPainterPath bezel = televisionPath(outer, 56, 5);
    QLinearGradient red(outer.topLeft(), outer.bottomLeft());
    red.setColorAt(0.0, kRed.lighter(125));
    red.setColorAt(0.5, kRed);
    red.setColorAt(1.0, kRed.darker(125));
    p.fillPath(bezel, red);
    p.strokePath(bezel, QPen(kRed.darker(170), 2));
    p.strokePath(televisionPath(outer.adjusted(6, 6, -6, -6), 50, 4),
                 QPen(QColor(255, 255, 255, 70), 2));

    // The screen sits higher than the middle, leaving a deeper bezel at the bottom.
    const QRectF glass = outer.adjusted(22, 22, -22, -36);
    const QPainterPath screen = televisionPath(glass, 38, 4);
    p.fillPath(screen, kScreenArea);
    p.strokePath(screen, QPen(kRed.darker(200), 3));

    // Two knobs on the bottom bezel.
    for (const qreal x : {outer.right() - 70, outer.right() - 44}) {
        const QPointF centre(x, outer.bottom() - 18);
        QRadialGradient knob(centre - QPointF(2, 2), 9);
        knob.setColorAt(0.0, kOrange.lighter(130));
        knob.setColorAt(1.0, kOrange.darker(120));
        p.setPen(QPen(kRed.darker(200), 1.5));
        p.setBrush(knob);
        p.drawEllipse(centre, 8, 8);
    }
    return image;
}

QImage startTestButton(QSize size) {
    QImage image = canvas(size, Qt::transparent);
    QPainter p(&image);
    prepare(p);
    const QRectF all(QPointF(0, 0), size);
    softBox(p, all, kRed, 8);
    softBox(p, all.adjusted(4, 4, -4, -4), kOrange, 14);
    centredWords(p, {all.center().x(), 23}, "Start", 17);
    centredWords(p, {all.center().x(), 41}, "Test", 17);
    return image;
}

QImage nameField(QSize size) {
    QImage image = canvas(size, Qt::transparent);
    QPainter p(&image);
    prepare(p);
    softBox(p, QRectF(QPointF(0, 0), size), kOrange, 16);
    // The name edit box covers x 85..376, so the word stays left of it.
    centredWords(p, {45, size.height() / 2.0}, "Name", 22);
    return image;
}

// A soft-cornered bar in one colour with words in the middle.
QImage wordBar(QSize size, const QColor& base, qreal radius, const QString& words, int pixelSize) {
    QImage image = canvas(size, Qt::transparent);
    QPainter p(&image);
    prepare(p);
    const QRectF all(QPointF(0, 0), size);
    softBox(p, all, base, radius);
    if (!words.isEmpty()) centredWords(p, all.center(), words, pixelSize);
    return image;
}

// A small orange button with one or two arrowheads pointing left or right.
QImage arrowButton(QSize size, int count, bool left) {
    QImage image = wordBar(size, kOrange, 8, {}, 0);
    QPainter p(&image);
    prepare(p);
    const qreal width = 9, height = 13, step = 8;
    const QPointF centre = QRectF(QPointF(0, 0), size).center();
    const qreal first = centre.x() - (width + step * (count - 1)) / 2;
    p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kInk);
    for (int i = 0; i < count; ++i) {
        const qreal x0 = first + i * step, x1 = x0 + width;
        const qreal tip = left ? x0 : x1, back = left ? x1 : x0;
        p.drawPolygon(QPolygonF({QPointF(tip, centre.y()), QPointF(back, centre.y() - height / 2),
                                 QPointF(back, centre.y() + height / 2)}));
    }
    return image;
}

QImage answerFrame(QSize size) {
    QImage image = canvas(size, Qt::white);
    QPainter p(&image);
    prepare(p);
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), size).adjusted(1, 1, -1, -1), 8, 8);
    p.fillPath(path, kPaleOrange);
    p.strokePath(path, QPen(QColor(0x5A, 0x3A, 0x10), 2));
    return image;
}

// A choice box of the image list: transparent outside its soft corners.
QImage tick(QSize size, bool chosen) {
    QImage image = canvas(size, Qt::transparent);
    QPainter p(&image);
    prepare(p);
    softBox(p, QRectF(QPointF(0, 0), size).adjusted(1, 1, -1, -1), chosen ? kRedOrange : kLightGrey,
            6);
    if (chosen) {
        p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(6.5, 12.5), QPointF(10.5, 17), QPointF(18, 7.5)}));
    }
    return image;
}

QString buttonWords(Picture picture) {
    switch (picture) {
    case Picture::FinishButton:
        return "Finish";
    case Picture::ResetButton:
        return "Reset";
    case Picture::QuitButton:
        return "Quit";
    case Picture::ReviewButton:
        return "Review";
    case Picture::PrintButton:
        return "Print";
    case Picture::ClearButton:
        return "Clear";
    case Picture::AnswerLabel:
        return "Answer";
    case Picture::YesButton:
        return "Yes";
    case Picture::NoButton:
        return "No";
    case Picture::SelectTestBanner:
        return "Select Test";
    case Picture::TestResultsBanner:
        return "Test Results";
    case Picture::ClickStartButton:
        return "Click here to Start";
    case Picture::LetterA:
        return "A";
    case Picture::LetterB:
        return "B";
    case Picture::LetterC:
        return "C";
    case Picture::LetterD:
        return "D";
    case Picture::LetterE:
        return "E";
    default:
        return {};
    }
}

} // namespace

QSize pictureSize(Picture picture) {
    switch (picture) {
    case Picture::ScreenFrame:
        return {730, 515};
    case Picture::StartTestButton:
        return {63, 63};
    case Picture::NameField:
        return {390, 63};
    case Picture::SelectTestBanner:
    case Picture::TestResultsBanner:
        return {290, 43};
    case Picture::ClickStartButton:
        return {280, 40};
    case Picture::FirstButton:
    case Picture::PreviousButton:
    case Picture::NextButton:
    case Picture::LastButton:
    case Picture::HelpButton:
        return {50, 25};
    case Picture::FinishButton:
    case Picture::ResetButton:
    case Picture::QuitButton:
    case Picture::ReviewButton:
    case Picture::PrintButton:
    case Picture::ClearButton:
    case Picture::AnswerLabel:
    case Picture::YesButton:
    case Picture::NoButton:
        return {100, 25};
    case Picture::LetterA:
    case Picture::LetterB:
    case Picture::LetterC:
    case Picture::LetterD:
    case Picture::LetterE:
    case Picture::BlankSquare:
    case Picture::TickEmpty:
    case Picture::TickChosen:
        return {25, 25};
    case Picture::QuestionBackdrop:
        return {250, 30};
    case Picture::AnswerFrame:
        return {250, 29};
    case Picture::WindowIcon:
        return {32, 32};
    }
    return {};
}

namespace {

QImage paintPicture(Picture picture) {
    const QSize size = pictureSize(picture);
    const QString words = buttonWords(picture);
    switch (picture) {
    case Picture::ScreenFrame:
        return screenFrame(size);
    case Picture::StartTestButton:
        return startTestButton(size);
    case Picture::NameField:
        return nameField(size);
    case Picture::SelectTestBanner:
    case Picture::TestResultsBanner:
        return wordBar(size, kYellow, 14, words, 26);
    case Picture::ClickStartButton:
        return wordBar(size, kRedOrange, 14, words, 22);
    case Picture::FirstButton:
        return arrowButton(size, 2, true);
    case Picture::PreviousButton:
        return arrowButton(size, 1, true);
    case Picture::NextButton:
        return arrowButton(size, 1, false);
    case Picture::LastButton:
        return arrowButton(size, 2, false);
    case Picture::HelpButton:
        return wordBar(size, kOrange, 8, "?", 19);
    case Picture::FinishButton:
    case Picture::ResetButton:
    case Picture::QuitButton:
    case Picture::ReviewButton:
    case Picture::PrintButton:
    case Picture::ClearButton:
    case Picture::AnswerLabel:
        return wordBar(size, kOrange, 8, words, 16);
    case Picture::YesButton:
    case Picture::NoButton:
        return wordBar(size, kRedOrange, 8, words, 16);
    case Picture::LetterA:
    case Picture::LetterB:
    case Picture::LetterC:
    case Picture::LetterD:
    case Picture::LetterE:
    case Picture::BlankSquare:
        return wordBar(size, kRedOrange, 6, words, 20);
    case Picture::QuestionBackdrop:
        return wordBar(size, kOrange, 10, {}, 0);
    case Picture::AnswerFrame:
        return answerFrame(size);
    case Picture::TickEmpty:
        return tick(size, false);
    case Picture::TickChosen:
        return tick(size, true);
    case Picture::WindowIcon:
        return drawWindowIcon(size.width());
    }
    return {};
}

} // namespace

// Drawn in the icon's own 32 x 32 units and scaled, so every size shows the same picture.
QImage drawWindowIcon(int side) {
    QImage image = canvas(QSize(side, side), Qt::transparent);
    QPainter p(&image);
    prepare(p);
    const qreal units = pictureSize(Picture::WindowIcon).width();
    p.scale(side / units, side / units);
    const QRectF all(0, 0, units, units);
    softBox(p, all, kOrange, 7);
    centredWords(p, all.center(), "1+2", 16);
    return image;
}

// Pictures never change: each is painted once, and later calls share it (a QImage copy shares
// its pixels until written to). The screen frame alone appears twice.
QImage drawPicture(Picture picture) {
    static std::map<Picture, QImage> painted;
    const auto [place, isNew] = painted.try_emplace(picture);
    if (isNew) place->second = paintPicture(picture);
    return place->second;
}

} // namespace corvane
