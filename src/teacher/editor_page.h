// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"
#include "teacher/crash_copy.h"
#include "teacher/live_check.h"
#include "teacher/page_fit_check.h"

#include <QStringList>

#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane::teacher {

class Preview;
class SourceEditor;

// One test source being written: the editor, the find bar, the problems list refreshed as the
// teacher types, and the preview of the question under the cursor. Make puts the test in the
// library; Save keeps the source. With a page engine, the pages are laid out to check that they
// fit, in the problems list once the teacher pauses, and before Make writes anything.
class EditorPage : public QWidget {
    Q_OBJECT
  public:
    // What an import or a source made from a test left out: where (a file and line) and what.
    struct Note {
        QString where;
        QString message;
    };

    EditorPage(const Seams& desktop, const QString& library, WebBrowserViews* pageEngine,
               QWidget* parent = nullptr);
    ~EditorPage() override;

    // Each replaces what is being edited (ask first with keepOrDiscard()).
    void newSource();
    bool openSource(const QString& path);
    bool importGift(const QString& path);
    bool openFromTest(const QString& testFile);
    void openText(const QString& text, const QString& sourcePath,
                  const std::vector<Note>& notes = {});

    bool save();
    bool saveAs();
    bool make();
    void insertQuestion(const QString& source);
    // Writes `tex` where the cursor is, in place of a selection, and selects its first number
    // for the teacher to type over.
    void insertMaths(const QString& tex);
    void findNext();
    void showFind();
    // Asks about unsaved changes; false when the teacher wants to stay.
    bool keepOrDiscard();
    void keepCrashCopy();

    bool isModified() const;
    QString sourcePath() const { return path_; }
    QString title() const;
    SourceEditor* editor() const { return editor_; }
    QTreeWidget* problems() const { return problems_; }
    Preview* preview() const { return preview_; }
    const SourceCheck& lastCheck() const { return last_; }
    bool checking() const { return check_.busy() || (pageFit_ && pageFit_->busy()); }

  signals:
    void titleChanged();
    void made(const QString& testFile);

  private:
    void requestCheck();
    void showCheck(const SourceCheck& check);
    void showPageFit(int generation, const make::SourceErrors& errors);
    void showProblems(const make::SourceErrors& errors);
    void followCursor();
    QString pictureFolder() const;
    void setPath(const QString& path);

    Seams desktop_;
    QString library_;
    QString path_;
    std::vector<Note> notes_; // shown with the problems until another source is opened
    SourceEditor* editor_;
    QLineEdit* find_;
    QTreeWidget* problems_;
    QLabel* summary_;
    WebBrowserViews* pageEngine_;
    LiveCheck check_; // before the preview, which shows its scratch library
    std::unique_ptr<PageFitCheck> pageFit_;
    Preview* preview_ = nullptr;
    SourceCheck last_;
    CrashCopy crashCopy_;
    QTimer crashTimer_;
};

} // namespace corvane::teacher
