// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the screen aloud: the page's words in reading order with every amount, time and
// fraction as a teacher says it, the options with their letters, the review's verdict, the
// results. The control is drawn like the window's other buttons and never takes the focus from
// the answer box when clicked.
#include "pupil/read_aloud.h"

#include "core/page_words.h"
#include "core/read_aloud_mark.h"
#include "core/settings_file.h"
#include "core/spoken_maths.h"
#include "pupil/form.h"
#include "pupil/picture_painting.h"

#include <QEvent>
#include <QPainterPath>
#include <QRegularExpression>
#include <QShortcut>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

constexpr qint64 kLargestPage = 4 * 1024 * 1024;
const QString kName = QStringLiteral("Read it to me");

// A page of the test, opened as untrusted content: a regular file only, no link followed, no
// waiting on a pipe; empty when it cannot be read.
QByteArray pageBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) return {};
    QByteArray bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kLargestPage) {
        bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got <= 0) break;
            done += got;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    return bytes;
}

// One phrase as said: maths in words, ending as a sentence does.
QString sentence(const QString& phrase) {
    QString said = spokenMaths(phrase);
    if (!said.isEmpty() && !QStringLiteral(".?!:").contains(said.back())) said += '.';
    return said;
}

// The screen's lines as spoken, one sentence each.
QString spokenLines(const QStringList& phrases) {
    QStringList said;
    for (const QString& phrase : phrases)
        if (const QString s = sentence(phrase); !s.isEmpty()) said << s;
    return said.join(' ');
}

void speakerShape(QPainter& painter, const QRectF& area, bool speaking) {
    const qreal h = area.height();
    const QPointF at = area.topLeft();
    painter.setPen(QPen(painting::kInk, h * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(painting::kInk);
    QPainterPath cone;
    cone.moveTo(at + QPointF(0, h * 0.35));
    cone.lineTo(at + QPointF(h * 0.22, h * 0.35));
    cone.lineTo(at + QPointF(h * 0.5, h * 0.1));
    cone.lineTo(at + QPointF(h * 0.5, h * 0.9));
    cone.lineTo(at + QPointF(h * 0.22, h * 0.65));
    cone.lineTo(at + QPointF(0, h * 0.65));
    cone.closeSubpath();
    painter.drawPath(cone);
    painter.setBrush(Qt::NoBrush);
    if (speaking) { // a stop square in place of the sound
        painter.setBrush(painting::kInk);
        painter.drawRect(QRectF(at + QPointF(h * 0.62, h * 0.3), QSizeF(h * 0.4, h * 0.4)));
        return;
    }
    for (const qreal r : {h * 0.22, h * 0.4})
        painter.drawArc(QRectF(at.x() + h * 0.5 - r, at.y() + h * 0.5 - r, 2 * r, 2 * r), -50 * 16,
                        100 * 16);
}

// The control's picture: a soft orange button with a loudspeaker, and the words where it is
// wide enough; red-orange with a stop sign while reading.
QImage controlPicture(QSize size, bool speaking) {
    QImage image = painting::canvas(size, Qt::transparent);
    QPainter painter(&image);
    painting::prepare(painter);
    const QRectF box(1, 1, size.width() - 2, size.height() - 2);
    painting::softBox(painter, box, speaking ? painting::kRedOrange : painting::kOrange, 10);
    const qreal icon = size.height() * 0.62;
    const bool words = size.width() > 2 * size.height();
    const qreal left = words ? 10 : (size.width() - icon) / 2;
    speakerShape(painter, QRectF(left, (size.height() - icon) / 2, icon, icon), speaking);
    if (words)
        painting::centredWords(
            painter, QPointF(left + icon + (size.width() - left - icon) / 2, size.height() / 2.0),
            speaking ? QStringLiteral("Stop reading") : kName, 17);
    return image;
}

} // namespace

ReadAloud::ReadAloud(TForm1& form, Speech& speech) : QObject(&form), form_(form), speech_(speech) {
    setObjectName(QStringLiteral("readAloud"));
    // Where the screens leave room: beside the front page's start button, at the top right of
    // the question page (made pages keep that corner clear), beside the results banner.
    const std::array<std::pair<QWidget*, QRect>, 3> places = {{
        {form.FrontPanel, {550, 517, 200, 40}},
        {form.QuestionPanel, {716, 4, 66, 40}},
        {form.ResultPanel, {545, 110, 172, 43}},
    }};
    const std::array<const char*, 3> names = {"ReadFront", "ReadQuestion", "ReadResults"};
    const std::array<QWidget*, 3> before = {form.Front->widget(), form.Question->widget(),
                                            form.Iscore};
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        auto* control = new ImageControl(places[i].first);
        control->setObjectName(QString::fromLatin1(names[i]));
        control->setGeometry(places[i].second);
        control->setKind(ImageControl::Kind::Button);
        control->setAccessibleName(kName);
        control->setAccessibleDescription(
            QStringLiteral("Reads this screen aloud. Press again, or F9, to stop."));
        control->setToolTip(QStringLiteral("Read it to me (F9)"));
        control->raise();
        QWidget::setTabOrder(before[i], control);
        connect(control, &ImageControl::clicked, this,
                [this] { form_.guarded([this] { toggle(); }); });
        places[i].first->installEventFilter(this);
        controls_[i] = control;
    }
    form.StartPanel->installEventFilter(this);
    // F9 works on every screen, also while the answer is being typed.
    auto* key = new QShortcut(QKeySequence(Qt::Key_F9), &form, nullptr, nullptr,
                              Qt::WidgetWithChildrenShortcut);
    connect(key, &QShortcut::activated, this, [this] {
        if (shownControl()) form_.guarded([this] { toggle(); });
    });
    // Another question on screen: what was being read is no longer there.
    connect(form.Questionno, &ImageControl::shownTextChanged, this, [this] {
        stop();
        showControls();
    });
    speech_.listen(this,
                   [this](Speech::State state, const QString& reason) { heard(state, reason); });
    draw();
    showControls();
}

ImageControl* ReadAloud::shownControl() const {
    for (ImageControl* control : controls_)
        if (control->isVisibleTo(&form_)) return control;
    return nullptr;
}

bool ReadAloud::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide) stop();
    if (event->type() == QEvent::Show) {
        if (watched != form_.StartPanel) showControls();
        // The engine takes seconds to start (speech-dispatcher and its voices): it starts in the
        // background while the pupil types her name, so that the first press is quick.
        if (!warmedUp_ && form_.seams().settings.read().speechOn) {
            warmedUp_ = true;
            speech_.warmUp();
        }
    }
    return QObject::eventFilter(watched, event);
}

void ReadAloud::showControls() {
    const bool offered =
        !unavailable_ && form_.seams().settings.read().speechOn && !refusedByTest();
    for (ImageControl* control : controls_)
        control->setVisible(offered);
    if (!offered) stop();
}

bool ReadAloud::refusedByTest() const {
    return !form_.frontPagePath.empty() && readAloudRefused(pageBytes(form_.frontPagePath));
}

void ReadAloud::toggle() {
    if (speaking_ || pressWaits_) {
        stop();
        return;
    }
    const QString text = screenText();
    if (text.isEmpty()) return;
    const ProgramSettings settings = form_.seams().settings.read();
    pressWaits_ = true;
    draw();
    speech_.say(text, {settings.speechRate, settings.speechVoice});
}

void ReadAloud::stop() {
    if (!speaking_ && !pressWaits_) return;
    speaking_ = false;
    pressWaits_ = false;
    speech_.stop();
    draw();
}

void ReadAloud::heard(Speech::State state, const QString& reason) {
    switch (state) {
    case Speech::State::Speaking:
        if (!pressWaits_ && !speaking_) { // stopped before the words began
            speech_.stop();
            return;
        }
        speaking_ = true;
        pressWaits_ = false;
        break;
    case Speech::State::Ready:
        if (pressWaits_) return; // the end of what was said before this press
        speaking_ = false;
        break;
    case Speech::State::Unavailable: {
        const bool pressed = pressWaits_ || speaking_;
        speaking_ = pressWaits_ = false;
        unavailable_ = true;
        unavailableReason_ = reason;
        // Told once, when the pupil asks; the control then goes.
        if (pressed) {
            form_.seams().dialogs.showMessage(
                QStringLiteral("Reading aloud does not work on this computer (%1). Please ask "
                               "your teacher.")
                    .arg(reason));
            showControls();
        }
        break;
    }
    }
    draw();
}

void ReadAloud::draw() {
    for (ImageControl* control : controls_)
        control->setPicture(controlPicture(control->size(), speaking_ || pressWaits_));
}

QString ReadAloud::screenText() const {
    if (form_.ResultPanel->isVisibleTo(&form_)) return resultsText();
    if (form_.QuestionPanel->isVisibleTo(&form_) && form_.currentQuestion > 0)
        return questionText();
    if (form_.FrontPanel->isVisibleTo(&form_))
        return spokenLines(pageWords(pageBytes(form_.frontPagePath)));
    return {};
}

QString ReadAloud::questionText() const {
    const int q = form_.currentQuestion;
    const std::int32_t type = form_.store.questionType[q];
    const bool lettered =
        type == KSINGLECHOICE || type == KMULTICHOICE || type == KORDER || type == KORDERUSER;
    static const QRegularExpression withLetter(QStringLiteral("^([A-E]) (.+)$"));
    static const QRegularExpression letterAlone(QStringLiteral("^[A-E]$"));
    QStringList phrases;
    for (QString phrase : pageWords(pageBytes(form_.questionPage(q)))) {
        if (lettered) {
            // The row of letters alone over the tick boxes repeats the options' letters.
            if (letterAlone.match(phrase).hasMatch()) continue;
            phrase.replace(withLetter, QStringLiteral("\\1, \\2")); // "A, 14."
        }
        phrases << phrase;
    }
    QString said = spokenLines(phrases);
    if (form_.reviewMode) said += ' ' + verdictText();
    return said.trimmed();
}

// The result box of the review: "Correct", or the right answer as the box shows it: letters
// and items one by one, accepted answers one or another.
QString ReadAloud::verdictText() const {
    const std::int32_t type = form_.store.questionType[form_.currentQuestion];
    const bool choice = type == KSINGLECHOICE || type == KMULTICHOICE;
    const bool order = type == KORDER || type == KORDERUSER;
    const ImageControl* box = choice           ? form_.CorrMult
                              : type == KYESNO ? form_.YesNoCorrect
                              : order          ? form_.OrderCorrect
                                               : form_.CorrectSingle;
    QString shown = box->shownText().simplified();
    if (shown.isEmpty()) return {};
    if (shown == QLatin1String("Correct")) return QStringLiteral("Your answer is correct.");
    static const QRegularExpression label(QStringLiteral("^Right Answer\\s*:\\s*"));
    shown.remove(label);
    if (type == KCURRENCY) shown.prepend(QChar(0xA3));
    if (type == KWORD) shown = shown.toLower(); // the box shows words in capitals
    QStringList parts = shown.split(' ', Qt::SkipEmptyParts);
    if (choice && parts.size() > 1) {
        const QString last = parts.takeLast();
        shown = parts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
    } else if (order) {
        shown = parts.join(QStringLiteral(", ")).replace(QStringLiteral(":,"), QStringLiteral(":"));
    } else if (type == KMULTIENTRYMULTI) {
        shown = parts.join(QStringLiteral(" or "));
    }
    return QStringLiteral("The right answer is ") + sentence(shown);
}

QString ReadAloud::resultsText() const {
    static const QRegularExpression colon(QStringLiteral("\\s*:\\s*"));
    static const QRegularExpression gap(QStringLiteral("\\s{3,}"));
    QStringList phrases;
    for (const ImageControl* box : {form_.Iresulttest, form_.Ichildname, form_.Iscore})
        for (QString part : box->shownText().split(gap, Qt::SkipEmptyParts))
            phrases << part.replace(colon, QStringLiteral(": ")).trimmed();
    return spokenLines(phrases);
}

} // namespace corvane
