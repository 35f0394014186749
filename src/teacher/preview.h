// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

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
    TForm1* form() const { return form_.get(); }

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
};

} // namespace corvane::teacher
