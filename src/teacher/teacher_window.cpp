// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/teacher_window.h"

#include "teacher/crash_copy.h"
#include "teacher/editor_page.h"
#include "teacher/library_page.h"
#include "teacher/preview.h"
#include "teacher/question_templates.h"
#include "teacher/save_folder.h"
#include "teacher/source_editor.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvane::teacher {

namespace {

const char* const kProgramName = "Corvane Maths for Teachers";
const char* const kGeometryKey = "window/geometry";

// A test of the library in the pupil's window, in a window of its own. The pupil's window
// lists the test folder of its program folder: a scratch folder whose test/ is the library.
class TryWindow : public QDialog {
  public:
    TryWindow(const Seams& desktop, const QString& library, const QString& testFile,
              QWidget* parent)
        : QDialog(parent) {
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(
            tr("Try %1 – %2").arg(QFileInfo(testFile).completeBaseName(), tr(kProgramName)));
        QFile::link(QFileInfo(library).absoluteFilePath(),
                    folder_.filePath(QStringLiteral("test")));
        auto* preview = new Preview(desktop, folder_.path(), this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(preview);
        preview->load(folder_.filePath(QStringLiteral("test/")) + QFileInfo(testFile).fileName(),
                      0);
        resize(860, 720);
    }

  private:
    QTemporaryDir folder_;
};

} // namespace

TeacherWindow::TeacherWindow(const Seams& desktop, const QString& library,
                             WebBrowserViews* pageEngine, QWidget* parent)
    : QMainWindow(parent), desktop_(desktop), tabs_(new QTabWidget(this)),
      tests_(new QStackedWidget(this)), library_(new LibraryPage(desktop, library, this)),
      editor_(new EditorPage(desktop, library, pageEngine, this)) {
    setObjectName(QStringLiteral("teacherWindow"));
    tests_->addWidget(library_);
    tests_->addWidget(editor_);
    tabs_->addTab(tests_, tr("&Tests"));
    tabs_->setObjectName(QStringLiteral("pages"));
    setCentralWidget(tabs_);
    initActions();
    initMenus();
    connect(editor_, &EditorPage::titleChanged, this, &TeacherWindow::updateTitle);
    connect(editor_, &EditorPage::made, this, [this](const QString& testFile) {
        library_->refresh();
        library_->choose(QFileInfo(testFile).completeBaseName());
    });
    connect(library_, &LibraryPage::editRequested, this, &TeacherWindow::edit);
    connect(library_, &LibraryPage::tryRequested, this, &TeacherWindow::tryAsPupil);
    connect(editor_, &EditorPage::undoMakeChanged, action(QStringLiteral("undoMake")),
            &QAction::setEnabled);
    showLibrary();
    fitScreen();
}

// The size the teacher left it at, else 1280 × 800; never more than the screen has room for.
void TeacherWindow::fitScreen() {
    if (restoreGeometry(QSettings().value(QLatin1String(kGeometryKey)).toByteArray())) return;
    const QRect room = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    // The frame the window manager adds round the window, roughly.
    const QSize frame(16, 40);
    resize(QSize(1280, 800).boundedTo(room.size() - frame));
    move(room.topLeft() + QPoint((room.width() - width() - frame.width()) / 2,
                                 (room.height() - height() - frame.height()) / 2));
}

TeacherWindow::~TeacherWindow() = default;

void TeacherWindow::addPage(QWidget* page, const QString& title) {
    tabs_->addTab(page, title);
}

void TeacherWindow::showPage(QWidget* page) {
    tabs_->setCurrentWidget(page);
}

QAction* TeacherWindow::action(const QString& name) const {
    return findChild<QAction*>(name);
}

QAction* TeacherWindow::addAction(const QString& name, const QString& text,
                                  const QKeySequence& keys, const std::function<void()>& run) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, run);
    QMainWindow::addAction(action);
    return action;
}

void TeacherWindow::initActions() {
    addAction(QStringLiteral("new"), tr("&New test"), QKeySequence::New, [this] {
        if (!editor_->keepOrDiscard()) return;
        editor_->newSource();
        showEditor();
    });
    addAction(QStringLiteral("open"), tr("&Open source…"), QKeySequence::Open,
              [this] { openSourceDialog(); });
    addAction(QStringLiteral("importGift"), tr("&Import GIFT…"),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), [this] { importGiftDialog(); });
    addAction(QStringLiteral("save"), tr("&Save source"), QKeySequence::Save,
              [this] { editor_->save(); });
    addAction(QStringLiteral("saveAs"), tr("Save source &as…"), QKeySequence::SaveAs,
              [this] { editor_->saveAs(); });
    addAction(QStringLiteral("make"), tr("&Make (put in the library)"),
              QKeySequence(Qt::CTRL | Qt::Key_M), [this] { editor_->make(); });
    addAction(QStringLiteral("undoMake"), tr("U&ndo Make"), {}, [this] {
        editor_->undoMake();
    })->setEnabled(editor_->canUndoMake());
    addAction(QStringLiteral("sourceFromTest"), tr("Make a source from this &test"), {}, [this] {
        const QString test = library_->chosenTest();
        if (test.isEmpty() || !editor_->keepOrDiscard()) return;
        if (editor_->openFromTest(test)) showEditor();
    });
    addAction(QStringLiteral("library"), tr("Back to the &library"),
              QKeySequence(Qt::CTRL | Qt::Key_L), [this] { showLibrary(); });
    addAction(QStringLiteral("quit"), tr("&Quit"), QKeySequence::Quit, [this] { close(); });
    addAction(QStringLiteral("undo"), tr("&Undo"), QKeySequence::Undo,
              [this] { editor_->editor()->undo(); });
    addAction(QStringLiteral("redo"), tr("&Redo"), QKeySequence::Redo,
              [this] { editor_->editor()->redo(); });
    addAction(QStringLiteral("find"), tr("&Find…"), QKeySequence::Find,
              [this] { editor_->showFind(); });
    addAction(QStringLiteral("findNext"), tr("Find &next"), QKeySequence::FindNext,
              [this] { editor_->findNext(); });
    addAction(QStringLiteral("help"), tr("&Help"), QKeySequence::HelpContents,
              [this] { showHelp(); });
    int n = 0;
    for (const QuestionTemplate& question : questionTemplates())
        addAction(QStringLiteral("insert%1").arg(++n), question.title, {},
                  [this, source = question.source] { editor_->insertQuestion(source); });
    for (const QuestionTemplate& maths : mathsTemplates())
        addAction(QStringLiteral("insert%1").arg(++n), maths.title, {},
                  [this, tex = maths.source] { editor_->insertMaths(tex); })
            ->setStatusTip(
                tr("Writes %1 where the cursor is: change the numbers.").arg(maths.source));
    addAction(QStringLiteral("insertPicture"), tr("&Picture…"), {},
              [this] { editor_->insertPicture(); });
}

void TeacherWindow::initMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    for (const char* name : {"new", "open", "importGift", "", "save", "saveAs", "", "make",
                             "undoMake", "sourceFromTest", "library", "", "quit"})
        if (*name)
            file->addAction(action(QString::fromLatin1(name)));
        else
            file->addSeparator();
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    for (const char* name : {"undo", "redo", "find", "findNext"})
        edit->addAction(action(QString::fromLatin1(name)));
    QMenu* insert = menuBar()->addMenu(tr("&Insert"));
    insert->setObjectName(QStringLiteral("insertMenu"));
    for (const QString& name : insertActions())
        insert->addAction(action(name));
    insert->insertSeparator(
        action(QStringLiteral("insert%1").arg(questionTemplates().size() + 1)));
    insert->insertSeparator(action(QStringLiteral("insertPicture")));
    QMenu* test = menuBar()->addMenu(tr("&Test"));
    test->addActions(library_->testActions());
    test->addAction(action(QStringLiteral("sourceFromTest")));
    menuBar()->addMenu(tr("&Help"))->addAction(action(QStringLiteral("help")));
    library_->addLeadingActions({action(QStringLiteral("new")), action(QStringLiteral("open")),
                                 action(QStringLiteral("importGift"))});
}

// The Insert menu's entries: the question templates, the maths, then the picture.
QStringList TeacherWindow::insertActions() {
    QStringList names;
    const auto count = questionTemplates().size() + mathsTemplates().size();
    for (int n = 1; n <= static_cast<int>(count); ++n)
        names << QStringLiteral("insert%1").arg(n);
    return names << QStringLiteral("insertPicture");
}

void TeacherWindow::showEditor() {
    tests_->setCurrentWidget(editor_);
    tabs_->setCurrentWidget(tests_);
    for (const char* name : {"save", "saveAs", "make", "undo", "redo", "find", "findNext"})
        action(QString::fromLatin1(name))->setEnabled(true);
    for (const QString& name : insertActions())
        action(name)->setEnabled(true);
    editor_->editor()->setFocus();
    updateTitle();
}

void TeacherWindow::showLibrary() {
    tests_->setCurrentWidget(library_);
    for (const char* name : {"save", "saveAs", "make", "undo", "redo", "find", "findNext"})
        action(QString::fromLatin1(name))->setEnabled(false);
    for (const QString& name : insertActions())
        action(name)->setEnabled(false);
    library_->refresh();
    library_->list()->setFocus();
    updateTitle();
}

void TeacherWindow::updateTitle() {
    const bool editing = tests_->currentWidget() == editor_;
    setWindowTitle(editing ? QStringLiteral("%1[*] – %2").arg(editor_->title(), tr(kProgramName))
                           : tr(kProgramName));
    setWindowModified(editing && editor_->isModified());
}

void TeacherWindow::edit(const QString& testFile, const QString& sourceFile) {
    if (!editor_->keepOrDiscard()) return;
    const bool opened =
        sourceFile.isEmpty() ? editor_->openFromTest(testFile) : editor_->openSource(sourceFile);
    if (opened) showEditor();
}

void TeacherWindow::tryAsPupil(const QString& testFile) {
    auto* window = new TryWindow(desktop_, library_->library(), testFile, this);
    window->show();
}

bool TeacherWindow::openFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!editor_->keepOrDiscard()) return false;
    bool opened = false;
    if (suffix == QLatin1String("md"))
        opened = editor_->openSource(path);
    else if (suffix == QLatin1String("gift"))
        opened = editor_->importGift(path);
    else if (suffix == QLatin1String("txt"))
        opened = editor_->openFromTest(path);
    else
        desktop_.dialogs.showMessage(
            tr("\"%1\" is neither a test source (.md), a GIFT file (.gift) nor a test (.txt).")
                .arg(path));
    if (opened) showEditor();
    return opened;
}

void TeacherWindow::openSourceDialog() {
    if (!editor_->keepOrDiscard()) return;
    const QString path = QFileDialog::getOpenFileName(this, tr("Open a test source"),
                                                      startFolder(library_->library()),
                                                      tr("Test sources (*.md);;All files (*)"));
    if (path.isEmpty()) return;
    rememberFolder(path);
    if (editor_->openSource(path)) showEditor();
}

void TeacherWindow::importGiftDialog() {
    if (!editor_->keepOrDiscard()) return;
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Import a GIFT file"), startFolder(library_->library()),
        tr("GIFT files (*.gift *.txt);;All files (*)"));
    if (path.isEmpty()) return;
    rememberFolder(path);
    if (editor_->importGift(path)) showEditor();
}

void TeacherWindow::offerCrashCopy() {
    const CrashCopy copy;
    const std::optional<CrashCopy::Kept> kept = copy.find();
    if (!kept) return;
    if (!desktop_.dialogs.confirm(tr("Changes to a test source were not saved when the program "
                                     "last ended. Open the copy that was kept?"))) {
        copy.remove();
        return;
    }
    editor_->openText(kept->text, kept->sourcePath);
    editor_->editor()->document()->setModified(true);
    showEditor();
}

void TeacherWindow::showHelp() {
    desktop_.dialogs.showMessage(
        tr("Tests: the library the pupils see. Edit a test (Ctrl+E) or start a new one "
           "(Ctrl+N).\n\nWrite the test's source on the left: # and the test's name first, then "
           "## and each question, ending with its options or its answer line (the Insert menu "
           "has one of each kind). Mistakes show under the source as you type; click one to go "
           "to its line. The page on the right is the pupil's own window: answer there, and "
           "Check this answer shows the verdict. F6 moves between the source, the problems and "
           "the preview.\n\nCtrl+M puts the test in the library (Undo Make puts back a test it "
           "replaced); Ctrl+S saves the source; Ctrl+F finds; Ctrl+L goes back to the library."));
}

void TeacherWindow::closeEvent(QCloseEvent* event) {
    if (!editor_->keepOrDiscard()) {
        event->ignore();
        return;
    }
    QSettings().setValue(QLatin1String(kGeometryKey), saveGeometry());
    editor_->saveLayout();
    event->accept();
}

} // namespace corvane::teacher
