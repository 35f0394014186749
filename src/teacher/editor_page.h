// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"
#include "teacher/crash_copy.h"
#include "teacher/live_check.h"
#include "teacher/page_fit_check.h"
#include "teacher/replaced_test.h"

#include <QStringList>

#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane::teacher {

class Preview;
class SourceEditor;

// One test source being written: the editor, the find bar, the problems list refreshed as the
// teacher types, and the preview of the question under the cursor. Make puts the test in the
// library; Save keeps the source. With a page engine, the pages are laid out to check that they
// fit, in the problems list once the teacher pauses; Make writes nothing before they are.
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

    // Save asks first when the file was changed outside this window since it was opened or
    // saved here, and offers to load it as it is now.
    bool save();
    bool saveAs();
    bool make();
    // Puts back the test that the last Make replaced in the library.
    bool undoMake();
    bool canUndoMake() const { return replaced_.has(); }
    void insertQuestion(const QString& source);
    // Writes `tex` where the cursor is, in place of a selection, and selects its first number
    // for the teacher to type over.
    void insertMaths(const QString& tex);
    // Insert ▸ Picture: asks for a picture file (and first where to save a new source).
    void insertPicture();
    // Copies `picture` beside the source and writes its line at the cursor; false (and a
    // message) when the source is not saved or the picture cannot be copied.
    bool insertPictureFile(const QString& picture);
    // Moves the focus to the next pane (source, problems, preview), or back.
    void focusNextPane(bool forward);
    // The splitters' positions, kept for the next start.
    void saveLayout() const;
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
    void undoMakeChanged(bool available);

  private:
    void requestCheck();
    void showCheck(const SourceCheck& check);
    void showPageFit(int generation, const make::SourceErrors& errors);
    void showProblems(const make::SourceErrors& errors);
    void followCursor();
    QString pictureFolder() const;
    void setPath(const QString& path);
    bool writeSource();
    bool pagesKnown() const;
    bool changedOutside() const;
    void outsideChange();
    void watch();

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
    QFileSystemWatcher watcher_;
    QByteArray onDisk_; // a digest of the source file as last read or written here
    ReplacedTest replaced_;
    bool makeWaiting_ = false;  // Make was asked for while the pages were being laid out
    int pageFitGeneration_ = 0; // the check whose pages were laid out last
    QSplitter* sides_;
    QSplitter* writing_;
};

} // namespace corvane::teacher
