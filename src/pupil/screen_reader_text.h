// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <string>

#include <QLineEdit>

namespace corvane {

// What a screen reader says for a page: the caption ("Question 3 of 10") and the page's words
// in reading order, each phrase ending in a full stop so that it is read as a sentence.
QString spokenPage(const QString& caption, const QByteArray& html);

// The bytes of a page file for its words: a regular file of at most 4 MiB, else nothing.
QByteArray pageFileBytes(const std::string& path);

// The words of the page on show, for screen readers, which cannot read inside the browser view.
// It lies over the page view it speaks for, draws nothing and lets the mouse through; it takes
// the focus from Tab just before the page, and its accessible name is what is said. A printable
// key typed while it has the focus goes on into the answer box when one is on show, so that a
// pupil can hear the question and type the answer at once.
class ScreenReaderText : public QWidget {
    Q_OBJECT
  public:
    ScreenReaderText(QWidget* page, const QString& objectName);

    const QString& spoken() const { return spoken_; }
    // Says `text` from now on; a screen reader following the focus here says it at once.
    void setSpoken(const QString& text);
    void setAnswerBox(QLineEdit* box) { answerBox_ = box; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPointer<QWidget> page_;
    QPointer<QLineEdit> answerBox_;
    QString spoken_;
};

} // namespace corvane
