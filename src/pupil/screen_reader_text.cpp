// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/screen_reader_text.h"

#include "core/page_words.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

constexpr qint64 kMostPageBytes = 4 * 1024 * 1024;

QString sentence(const QString& phrase) {
    static const QString ends = QStringLiteral(".?!:;");
    return ends.contains(phrase.back()) ? phrase : phrase + '.';
}

} // namespace

QString spokenPage(const QString& caption, const QByteArray& html) {
    QStringList said;
    if (!caption.isEmpty()) said << sentence(caption);
    for (const QString& phrase : pageWords(html))
        said << sentence(phrase);
    return said.join(' ');
}

// Opened without waiting, so that a FIFO put in the page's place cannot hold the window.
QByteArray pageFileBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    QByteArray bytes;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= kMostPageBytes) {
        bytes.resize(status.st_size);
        qint64 got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n <= 0) break;
            got += n;
        }
        bytes.truncate(got);
    }
    ::close(fd);
    return bytes;
}

ScreenReaderText::ScreenReaderText(QWidget* page, const QString& objectName)
    : QWidget(page->parentWidget()), page_(page) {
    setObjectName(objectName);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::TabFocus);
    setGeometry(page->geometry());
    page->installEventFilter(this);
}

void ScreenReaderText::setSpoken(const QString& text) {
    if (text == spoken_) return;
    spoken_ = text;
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

// Keeps over the page as it moves.
bool ScreenReaderText::eventFilter(QObject* watched, QEvent* event) {
    if (watched == page_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        setGeometry(page_->geometry());
    return false;
}

void ScreenReaderText::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool printable = !text.isEmpty() && text.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (printable && answerBox_ && answerBox_->isVisible() && answerBox_->isEnabled() &&
        !answerBox_->isReadOnly()) {
        answerBox_->setFocus(Qt::OtherFocusReason);
        answerBox_->insert(text);
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace corvane
