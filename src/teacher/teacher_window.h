// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

#include <QMainWindow>

class QAction;
class QStackedWidget;
class QTabWidget;

namespace corvane {
class WebBrowserViews;
}

namespace corvane::teacher {

class EditorPage;
class LibraryPage;

// The teacher's window: pages in tabs (Tests first), a menu bar with the desktop's usual
// shortcuts. The Tests page shows the library, or the source being edited.
class TeacherWindow : public QMainWindow {
    Q_OBJECT
  public:
    // `library` is the test folder the pupils see. `pageEngine` lays the pages out to check
    // that they fit the pupil's window (no such check without it).
    TeacherWindow(const Seams& desktop, const QString& library,
                  WebBrowserViews* pageEngine = nullptr, QWidget* parent = nullptr);
    ~TeacherWindow() override;

    // Adds a page as a tab after the Tests page.
    void addPage(QWidget* page, const QString& title);
    void showPage(QWidget* page);

    // Opens a file named on the command line: a source, a GIFT file or a test file. False (and
    // a message) for anything else.
    bool openFile(const QString& path);
    // Offers the copy of unsaved work that a crash left behind.
    void offerCrashCopy();

    LibraryPage* libraryPage() const { return library_; }
    EditorPage* editorPage() const { return editor_; }
    QAction* action(const QString& name) const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void initActions();
    void initMenus();
    QAction* addAction(const QString& name, const QString& text, const QKeySequence& keys,
                       const std::function<void()>& run);
    void fitScreen();
    static QStringList insertActions();
    void showEditor();
    void showLibrary();
    void edit(const QString& testFile, const QString& sourceFile);
    void tryAsPupil(const QString& testFile);
    void openSourceDialog();
    void importGiftDialog();
    void updateTitle();
    void showHelp();

    Seams desktop_;
    QTabWidget* tabs_;
    QStackedWidget* tests_;
    LibraryPage* library_;
    EditorPage* editor_;
};

} // namespace corvane::teacher
