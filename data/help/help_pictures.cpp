#include "help_pictures.h"

#include "app/pictures.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <optional>

namespace corvane::help {
namespace {

constexpr int kScale = 2;
const QColor kBoxFill(0xFF, 0xC8, 0x60);    // result and order boxes
const QColor kResultFill(0xD0, 0xC0, 0xC0); // lines of the results screen
const QColor kBackdropOrange(0xFF, 0x99, 0x00);

QFont font(const QString& family, int pixels, bool bold) {
    QFont result(family);
    result.setPixelSize(pixels);
    result.setBold(bold);
    return result;
}

int pointsToPixels(int points) {
    return int(std::lround(points * 96.0 / 72.0));
}

// A drawing in window pixels on an image of twice the size.
class Sketch {
  public:
    explicit Sketch(QSize size) : image_(size * kScale, QImage::Format_RGB32) {
        image_.fill(Qt::white);
        painter_.begin(&image_);
        painter_.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                                QPainter::SmoothPixmapTransform);
        painter_.scale(kScale, kScale);
    }

    // Everything drawn after this is placed relative to `origin` (a panel's top left).
    void moveTo(QPoint origin) {
        painter_.resetTransform();
        painter_.scale(kScale, kScale);
        painter_.translate(origin);
    }

    // A picture at its own size, or stretched to `size`.
    void picture(Picture which, QPoint at, QSize size = {}) {
        const QImage source = drawPicture(which);
        painter_.drawImage(QRect(at, size.isValid() ? size : source.size()), source);
    }

    void fill(const QRect& area, const QColor& colour) { painter_.fillRect(area, colour); }

    // Text whose cell starts `top` pixels below the area's top, centred or at `left`.
    void text(const QRect& area, const QString& text, const QFont& textFont, int top,
              std::optional<int> left = std::nullopt, const QColor& colour = Qt::black) {
        const QFontMetrics metrics(textFont);
        const int x = left ? *left : (area.width() - metrics.horizontalAdvance(text)) / 2;
        painter_.save();
        painter_.setClipRect(area);
        painter_.setFont(textFont);
        painter_.setPen(colour);
        painter_.drawText(area.left() + x, area.top() + top + metrics.ascent(), text);
        painter_.restore();
    }

    // A result or order box: pale orange with bold Arial centred.
    void box(const QRect& area, const QString& words, int points, int top) {
        fill(area, kBoxFill);
        text(area, words, font("Arial", pointsToPixels(points), true), top);
    }

    // A choice box: white with the empty or chosen tick square.
    void tick(const QRect& area, bool chosen) {
        fill(area, Qt::white);
        picture(chosen ? Picture::TickChosen : Picture::TickEmpty, area.topLeft());
    }

    // An order place: the blank square with the item's label on it.
    void orderPlace(const QRect& area, const QString& label) {
        fill(area, Qt::white);
        painter_.save();
        painter_.setClipRect(area);
        picture(Picture::BlankSquare, area.topLeft());
        painter_.restore();
        text(area, label, font("Comic Sans MS", pointsToPixels(18), true), -6, 4);
    }

    // A one-line edit box holding `typed`.
    void edit(const QRect& area, const QString& typed, const QFont& textFont,
              const QColor& background) {
        fill(area, background);
        text(area, typed, textFont, (area.height() - QFontMetrics(textFont).height()) / 2, 2);
    }

    // A thin grey outline around the whole picture, so a white panel stands out on the page.
    QImage finish() {
        painter_.resetTransform();
        painter_.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 2));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(QRect(QPoint(1, 1), image_.size() - QSize(2, 2)));
        painter_.end();
        return image_;
    }

  private:
    QImage image_;
    QPainter painter_;
};

constexpr QSize kStrip(791, 36);

// MultiPanel: options A..`options`, the ticked ones chosen; in review the result box shows.
void choicePanel(Sketch& sketch, int options, std::array<bool, 5> ticked, const QString& review) {
    sketch.moveTo({5, 0});
    const std::array<int, 5> letterLefts = {5, 105, 200, 300, 395};
    const std::array<int, 5> boxLefts = {50, 150, 245, 345, 440};
    for (int k = 0; k < options; ++k) {
        sketch.picture(static_cast<Picture>(static_cast<int>(Picture::LetterA) + k),
                       {letterLefts[k], 5}, {25, 25});
        sketch.tick({boxLefts[k], 5, 25, 25}, ticked[k]);
    }
    if (review.isEmpty()) return;
    sketch.picture(Picture::AnswerFrame, {510, 2});
    sketch.box({530, 5, 201, 23}, review, 14, review == "Correct" ? 1 : -1);
}

// SinglePanel with `typed` in the edit box; the £ sign for money; in review the result box.
void typedPanel(Sketch& sketch, const QString& typed, bool money, const QString& review = {}) {
    sketch.moveTo({0, 0});
    sketch.picture(Picture::AnswerLabel, {5, 4});
    sketch.picture(Picture::AnswerFrame, {115, 3});
    sketch.edit({150, 6, 206, 23}, typed, font("Comic Sans MS", 16, true), Qt::white);
    if (money) {
        sketch.fill({130, 7, 11, 22}, QColor(0xFF, 0xCC, 0x68));
        sketch.text({130, 7, 11, 22}, QString(QChar(0xA3)), font("Arial", 19, false), 0, 0);
    }
    if (review.isEmpty()) return;
    sketch.picture(Picture::AnswerFrame, {520, 2});
    sketch.box({540, 5, 216, 23}, review, 14, -1);
}

QImage choices() {
    Sketch sketch(kStrip);
    choicePanel(sketch, 4, {false, true, false, false, false}, {});
    return sketch.finish();
}

QImage choicesReview() {
    Sketch sketch(kStrip);
    choicePanel(sketch, 4, {false, true, false, false, false}, "Right Answer :C ");
    return sketch.finish();
}

QImage yesNo() {
    Sketch sketch(kStrip);
    sketch.moveTo({5, 0});
    sketch.picture(Picture::YesButton, {5, 5}, {100, 25});
    sketch.tick({115, 5, 28, 25}, true);
    sketch.picture(Picture::NoButton, {180, 5}, {100, 25});
    sketch.tick({290, 5, 28, 25}, false);
    return sketch.finish();
}

QImage order() {
    Sketch sketch(kStrip);
    const std::array<QString, 3> labels = {"12", "5", "30"};
    for (int k = 0; k < 3; ++k)
        sketch.orderPlace({5 + 30 * k, 4, 25, 25}, labels[k]);
    sketch.picture(Picture::AnswerFrame, {160, 2});
    sketch.box({165, 5, 236, 23}, "Smallest: 5 12 ? ", 16, 1);
    sketch.picture(Picture::ClearButton, {685, 4});
    return sketch.finish();
}

QImage word() {
    Sketch sketch(kStrip);
    typedPanel(sketch, "forty", false);
    return sketch.finish();
}

QImage wordReview() {
    Sketch sketch(kStrip);
    typedPanel(sketch, "forty", false, "Correct");
    return sketch.finish();
}

QImage money() {
    Sketch sketch(kStrip);
    typedPanel(sketch, "1.45", true);
    return sketch.finish();
}

QImage pair() {
    Sketch sketch(kStrip);
    typedPanel(sketch, "7 r 3", false);
    return sketch.finish();
}

// The bottom of the question screen: a choice panel and the bar with the buttons.
QImage questionBar() {
    Sketch sketch({791, 76});
    choicePanel(sketch, 5, {false, false, true, false, false}, {});
    sketch.moveTo({0, -485});
    sketch.picture(Picture::QuestionBackdrop, {5, 526});
    sketch.fill({10, 530, 241, 22}, kBackdropOrange);
    sketch.text({10, 530, 241, 22}, "Question 3/10", font("Arial", 16, true), 2);
    const std::array<std::pair<Picture, int>, 4> arrows = {{{Picture::FirstButton, 270},
                                                            {Picture::PreviousButton, 330},
                                                            {Picture::NextButton, 395},
                                                            {Picture::LastButton, 455}}};
    for (const auto& [picture, left] : arrows)
        sketch.picture(picture, {left, 528}, {50, 25});
    sketch.picture(Picture::FinishButton, {520, 528}, {100, 25});
    sketch.picture(Picture::ResetButton, {625, 528}, {100, 25});
    sketch.picture(Picture::HelpButton, {730, 528}, {50, 25});
    return sketch.finish();
}

// The start screen with a name typed and the sample tests in the list.
QImage startScreen() {
    Sketch sketch({790, 564});
    sketch.moveTo({-5, 5});
    sketch.picture(Picture::ScreenFrame, {25, 25});
    sketch.picture(Picture::StartTestButton, {640, 65});
    sketch.picture(Picture::NameField, {200, 102});
    sketch.picture(Picture::SelectTestBanner, {250, 170});
    sketch.edit({285, 120, 291, 31}, "Ann", font("Arial", 21, true), kBackdropOrange);
    sketch.fill({195, 220, 391, 271}, Qt::white);
    const QStringList tests = {"Money and Time", "Number Puzzles", "Shapes and Numbers"};
    for (int row = 0; row < tests.size(); ++row)
        sketch.text({195, 220 + 24 * row, 391, 24}, tests[row], font("Arial", 21, true), 0, 2);
    return sketch.finish();
}

// The results screen after a test of 5 questions with 4 right.
QImage resultsScreen() {
    Sketch sketch({790, 564});
    sketch.moveTo({0, -15});
    sketch.picture(Picture::ScreenFrame, {20, 20}, {746, 516});
    sketch.picture(Picture::TestResultsBanner, {245, 110});
    const QFont lineFont = font("Arial", pointsToPixels(18), true);
    struct Line {
        QRect area;
        QString words;
    };
    const std::array<Line, 3> lines = {
        {{{170, 180, 440, 60}, "Test Name:Number Puzzles"},
         {{165, 275, 440, 60}, "Test Result for :Ann"},
         {{160, 375, 440, 60}, "Score: 4 out of  5     Well Done! "}}};
    for (const Line& line : lines) {
        sketch.fill(line.area, kResultFill);
        sketch.text(line.area, line.words, lineFont, 20);
    }
    sketch.picture(Picture::PrintButton, {30, 540});
    sketch.picture(Picture::QuitButton, {340, 540});
    sketch.picture(Picture::ReviewButton, {620, 540});
    return sketch.finish();
}

const std::map<QString, std::function<QImage()>>& catalogue() {
    static const std::map<QString, std::function<QImage()>> pictures = {
        {"start-screen", startScreen},
        {"question-bar", questionBar},
        {"panel-choices", choices},
        {"panel-choices-review", choicesReview},
        {"panel-yesno", yesNo},
        {"panel-order", order},
        {"panel-word", word},
        {"panel-word-review", wordReview},
        {"panel-money", money},
        {"panel-pair", pair},
        {"results-screen", resultsScreen},
    };
    return pictures;
}

} // namespace

QStringList helpPictureNames() {
    QStringList names;
    for (const auto& entry : catalogue())
        names << entry.first;
    return names;
}

QImage helpPicture(const QString& name) {
    const auto found = catalogue().find(name);
    return found == catalogue().end() ? QImage() : found->second();
}

} // namespace corvane::help
