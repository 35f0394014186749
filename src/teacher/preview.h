// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;

namespace corvane {
class TForm1;
}

namespace corvane::teacher {

// The pupil's own window over a test of a scratch library: the teacher sees the page and its
// answer panel as a pupil does, answers there, and asks for the verdict of the question or,
// with Finish, the score. No class record is kept.
//
// The preview never takes the keyboard focus by itself: while the teacher works elsewhere in
// the window, a question shown, a page loaded or the window activated leaves the focus there.
// It takes the focus when the teacher clicks in it, tabs into it, or calls takeFocus().
class Preview : public QWidget {
    Q_OBJECT
  public:
    // `desktop` gives the dialogs, browser views, documents and printer; `programFolder` is the
    // folder whose test/ subfolder holds the tests shown.
    Preview(const Seams& desktop, const QString& programFolder, QWidget* parent = nullptr);
    ~Preview() override;

    // Loads the test file afresh (answers start empty) and shows question `question`, 0 for the
    // front page.
    void load(const QString& testFile, int question);
    // Shows another question of the loaded test, keeping the answers given so far.
    void showQuestion(int question);
    int shownQuestion() const;
    bool loaded() const { return !testFile_.isEmpty(); }
    // Shows nothing until the next load().
    void unload();
    // Says whether the source now has mistakes: the page shown is then of its last version
    // without any.
    void setOutdated(bool outdated);
    // Where the focus goes back to when the preview would take it unasked, until the focus
    // has been elsewhere in the window.
    void setFocusHome(QWidget* home) { home_ = home; }
    // Puts the focus on the first control of the page shown, as the teacher asked.
    void takeFocus();
    TForm1* form() const { return form_.get(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct OwnSeams;
    void ensureForm();
    void setChecking(bool on);

    std::unique_ptr<OwnSeams> seams_;
    std::unique_ptr<TForm1> form_;
    QWidget* holder_;
    QPushButton* check_;
    QLabel* status_;
    QString testFile_;
    QPointer<QWidget> home_;
    bool entered_ = false; // the teacher put the focus here
};

} // namespace corvane::teacher
