// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/editor_page.h"

#include "core/app_error.h"
#include "teacher/library_folder.h"
#include "teacher/picture_copy.h"
#include "teacher/preview.h"
#include "teacher/save_folder.h"
#include "teacher/source_editor.h"
#include "teacher/source_highlighter.h"
#include "teacher/wording.h"
#include "tools/make/from_test.h"
#include "tools/make/gift_import.h"
#include "tools/make/output.h"
#include "tools/make/page_fit.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvane::teacher {

namespace {

constexpr int kCrashCopyMs = 30'000;
constexpr int kLineRole = Qt::UserRole;
const char* const kSidesKey = "window/sides";
const char* const kWritingKey = "window/writing";

// What the file holds now: empty when it cannot be read.
QByteArray digestOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

const char* const kNewSource = "# New test\n"
                               "Welcome! Read each question carefully.\n"
                               "\n"
                               "## What is 3 × 4?\n"
                               "Number: 12\n";

// Rows as tall as their texts wrapped at their columns' widths: a view asks for a row's height
// without a width, and would give each problem one line, cut.
class WrappingDelegate : public QStyledItemDelegate {
  public:
    explicit WrappingDelegate(QTreeView* view) : QStyledItemDelegate(view), view_(view) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem wrapped(option);
        wrapped.rect = QRect(0, 0, view_->header()->sectionSize(index.column()), 1 << 20);
        wrapped.features |= QStyleOptionViewItem::WrapText;
        return QStyledItemDelegate::sizeHint(wrapped, index);
    }

  private:
    QTreeView* view_;
};

} // namespace

EditorPage::EditorPage(const Seams& desktop, const QString& library, WebBrowserViews* pageEngine,
                       QWidget* parent)
    : QWidget(parent), desktop_(desktop), library_(library), editor_(new SourceEditor(this)),
      find_(new QLineEdit(this)), problems_(new QTreeWidget(this)), summary_(new QLabel(this)),
      pageEngine_(pageEngine) {
    setObjectName(QStringLiteral("editorPage"));
    preview_ = new Preview(desktop, check_.scratchProgramFolder(), this);
    preview_->setFocusHome(editor_);
    new SourceHighlighter(editor_->document());

    auto* findRow = new QWidget(this);
    findRow->setObjectName(QStringLiteral("findRow"));
    auto* findLayout = new QHBoxLayout(findRow);
    findLayout->setContentsMargins(0, 0, 0, 0);
    auto* findLabel = new QLabel(tr("F&ind:"), findRow);
    findLabel->setBuddy(find_);
    find_->setObjectName(QStringLiteral("find"));
    find_->setAccessibleName(tr("Find in the source"));
    findLayout->addWidget(findLabel);
    findLayout->addWidget(find_, 1);
    findRow->hide();
    connect(find_, &QLineEdit::returnPressed, this, &EditorPage::findNext);
    auto* closeFind = new QShortcut(QKeySequence(Qt::Key_Escape), find_);
    closeFind->setContext(Qt::WidgetShortcut);
    connect(closeFind, &QShortcut::activated, this, [this, findRow] {
        findRow->hide();
        editor_->setFocus();
    });

    problems_->setObjectName(QStringLiteral("problems"));
    problems_->setAccessibleName(tr("Problems"));
    problems_->setHeaderLabels({tr("Line"), tr("Problem"), tr("Fix")});
    problems_->setRootIsDecorated(false);
    problems_->setWordWrap(true);
    problems_->setTextElideMode(Qt::ElideNone);
    problems_->setItemDelegate(new WrappingDelegate(problems_));
    // Rows grow to the wrapped text of the widths the columns have now.
    connect(problems_->header(), &QHeaderView::sectionResized, problems_,
            [this] { problems_->doItemsLayout(); });
    problems_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    problems_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(problems_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (const int line = item->data(0, kLineRole).toInt(); line > 0) editor_->goToLine(line);
    });
    connect(problems_, &QTreeWidget::itemClicked, problems_, &QTreeWidget::itemActivated);
    summary_->setObjectName(QStringLiteral("problemSummary"));
    summary_->setWordWrap(true); // a long note never widens the pane

    auto* below = new QWidget(this);
    auto* belowLayout = new QVBoxLayout(below);
    belowLayout->setContentsMargins(0, 0, 0, 0);
    auto* problemsLabel = new QLabel(tr("&Problems"), below);
    problemsLabel->setBuddy(problems_);
    belowLayout->addWidget(problemsLabel);
    belowLayout->addWidget(summary_);
    belowLayout->addWidget(problems_, 1);

    auto* writing = writing_ = new QSplitter(Qt::Vertical, this);
    auto* top = new QWidget(writing);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(editor_, 1);
    topLayout->addWidget(findRow);
    writing->addWidget(top);
    writing->addWidget(below);
    writing->setStretchFactor(0, 3);
    writing->setStretchFactor(1, 1);

    auto* sides = sides_ = new QSplitter(Qt::Horizontal, this);
    sides->addWidget(writing);
    sides->addWidget(preview_);
    sides->setStretchFactor(0, 1);
    sides->setSizes({480, 820}); // the pupil's window keeps its width
    const QSettings settings;
    sides->restoreState(settings.value(QLatin1String(kSidesKey)).toByteArray());
    writing->restoreState(settings.value(QLatin1String(kWritingKey)).toByteArray());
    for (const auto& [keys, forward] : {std::pair{QKeySequence(Qt::Key_F6), true},
                                        {QKeySequence(Qt::SHIFT | Qt::Key_F6), false}}) {
        auto* pane = new QShortcut(keys, this);
        pane->setContext(Qt::WidgetWithChildrenShortcut);
        connect(pane, &QShortcut::activated, this, [this, forward] { focusNextPane(forward); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sides);

    connect(editor_, &QPlainTextEdit::textChanged, this, &EditorPage::requestCheck);
    connect(editor_->document(), &QTextDocument::modificationChanged, this,
            &EditorPage::titleChanged);
    connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, &EditorPage::followCursor);
    connect(&check_, &LiveCheck::checked, this, &EditorPage::showCheck);
    if (pageEngine_) {
        pageFit_ = std::make_unique<PageFitCheck>(*pageEngine_);
        connect(pageFit_.get(), &PageFitCheck::checked, this, &EditorPage::showPageFit);
    }
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &EditorPage::outsideChange);
    connect(&crashTimer_, &QTimer::timeout, this, &EditorPage::keepCrashCopy);
    crashTimer_.start(kCrashCopyMs);
}

EditorPage::~EditorPage() = default;

bool EditorPage::isModified() const {
    return editor_->document()->isModified();
}

QString EditorPage::title() const {
    if (!path_.isEmpty()) return QFileInfo(path_).fileName();
    return last_.name.isEmpty() ? tr("New test") : last_.name;
}

void EditorPage::setPath(const QString& path) {
    path_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    onDisk_ = path_.isEmpty() ? QByteArray() : digestOf(path_);
    watch();
    emit titleChanged();
}

void EditorPage::watch() {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!path_.isEmpty() && QFileInfo::exists(path_)) watcher_.addPath(path_);
}

bool EditorPage::changedOutside() const {
    return !path_.isEmpty() && QFileInfo::exists(path_) && digestOf(path_) != onDisk_;
}

// The file is watched while it is open: unchanged here, it is loaded again as it is now;
// changed here too, the teacher is told, and Save asks first.
void EditorPage::outsideChange() {
    watch(); // a file replaced by a new one is watched again
    if (!changedOutside()) return;
    const QString name = QFileInfo(path_).fileName();
    if (!isModified()) {
        const int line = editor_->currentLine();
        if (openSource(path_)) {
            editor_->goToLine(line);
            summary_->setText(
                tr("\"%1\" was changed outside this window: it shows as it is now.").arg(name));
        }
        return;
    }
    summary_->setText(tr("\"%1\" was changed outside this window; Save asks before writing over "
                         "that change.")
                          .arg(name));
}

void EditorPage::openText(const QString& text, const QString& sourcePath,
                          const std::vector<Note>& notes) {
    notes_ = notes;
    last_ = {};
    preview_->unload(); // never the page of what was open before
    setPath(sourcePath);
    editor_->setPlainText(text);
    editor_->document()->setModified(sourcePath.isEmpty());
    check_.request(text.toUtf8(), pictureFolder(), 0);
}

void EditorPage::newSource() {
    openText(QString::fromUtf8(kNewSource), {});
    editor_->document()->setModified(false);
}

bool EditorPage::openSource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        desktop_.dialogs.showMessage(tr("The source \"%1\" cannot be read.").arg(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes) text = QString::fromLatin1(bytes); // as corvane-make reads it
    openText(text, path);
    return true;
}

bool EditorPage::importGift(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        desktop_.dialogs.showMessage(tr("The GIFT file \"%1\" cannot be read.").arg(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    const std::string name = QFileInfo(path).fileName().toStdString();
    const make::GiftImport imported =
        make::importGift(bytes.toStdString(), make::giftTestName(path.toStdString()));
    std::vector<Note> notes;
    for (const make::GiftLeftOut& leftOut : imported.leftOut) {
        const QString where =
            QStringLiteral("%1:%2").arg(QString::fromStdString(name)).arg(leftOut.line);
        // describe() words it as corvane-make does, after the place.
        const QString text = QString::fromStdString(make::describe(name, leftOut));
        notes.push_back({where, text.mid(where.size() + 2)});
    }
    openText(QString::fromStdString(imported.source), {}, notes);
    return true;
}

bool EditorPage::openFromTest(const QString& testFile) {
    try {
        const make::SourceFromTest made =
            make::sourceFromTest(QFile::encodeName(testFile).toStdString());
        std::vector<Note> notes;
        for (const QString& note : made.notes)
            notes.push_back({QFileInfo(testFile).fileName(), note});
        openText(QString::fromUtf8(made.source), {}, notes);
        return true;
    } catch (const std::exception& error) {
        desktop_.dialogs.showMessage(
            tr("No source can be made from \"%1\": %2")
                .arg(QFileInfo(testFile).fileName(), QString::fromLatin1(error.what())));
        return false;
    }
}

QString EditorPage::pictureFolder() const {
    return path_.isEmpty() ? sourceFolderOf(library_) : QFileInfo(path_).absolutePath();
}

void EditorPage::requestCheck() {
    // The scratch pages are about to be made again: laying out the old ones would be wasted.
    if (pageFit_) pageFit_->cancel();
    check_.request(editor_->toPlainText().toUtf8(), pictureFolder());
}

void EditorPage::showCheck(const SourceCheck& check) {
    last_ = check;
    showProblems(check.problems);
    emit titleChanged();
    preview_->setOutdated(check.testFile.isEmpty());
    if (check.testFile.isEmpty()) {
        if (makeWaiting_ && pagesKnown()) make(); // says what the mistakes are
        return;
    }
    preview_->load(check.testFile, questionAtLine(check.questionLines, editor_->currentLine()));
    if (pageFit_) {
        pageFit_->start(check);
        summary_->setText(tr("No mistakes in the source; its pages are being laid out to check "
                             "that they fit."));
    }
}

void EditorPage::showPageFit(int generation, const make::SourceErrors& errors) {
    if (generation != last_.generation) return;
    pageFitGeneration_ = generation;
    last_.problems = errors;
    make::pointAtWords(last_.problems, editor_->toPlainText());
    showProblems(last_.problems);
    if (makeWaiting_ && pagesKnown()) make();
}

bool EditorPage::pagesKnown() const {
    return !check_.busy() && !pageFit_->busy() &&
           (last_.testFile.isEmpty() || pageFitGeneration_ == last_.generation);
}

void EditorPage::showProblems(const make::SourceErrors& errors) {
    problems_->clear();
    QSet<int> lines;
    for (const make::SourceError& error : errors) {
        auto* item =
            new QTreeWidgetItem(problems_, {QString::number(error.line), error.message, error.fix});
        item->setData(0, kLineRole, error.line);
        item->setToolTip(1, error.message);
        item->setToolTip(2, error.fix);
        lines.insert(error.line);
    }
    for (const Note& note : notes_) {
        auto* item = new QTreeWidgetItem(problems_, {note.where, note.message});
        item->setToolTip(1, note.message);
    }
    editor_->setProblemLines(lines);
    summary_->setText(
        (errors.empty() ? tr("No mistakes: the preview shows the test as it will be made.")
                        : counted(static_cast<qsizetype>(errors.size()), "mistake", "mistakes") +
                              tr(" to put right before the test can be made.")) +
        (makeWaiting_ ? tr(" Make goes on once the pages are laid out…") : QString()));
}

void EditorPage::followCursor() {
    if (!preview_->loaded()) return;
    const int question = questionAtLine(last_.questionLines, editor_->currentLine());
    if (question != preview_->shownQuestion()) preview_->showQuestion(question);
}

bool EditorPage::save() {
    if (path_.isEmpty()) return saveAs();
    if (changedOutside()) {
        const QString name = QFileInfo(path_).fileName();
        if (!desktop_.dialogs.confirm(tr("\"%1\" was changed outside this window since it was "
                                         "opened or saved here. Save over that change?")
                                          .arg(name))) {
            if (desktop_.dialogs.confirm(
                    tr("Load \"%1\" as it is now instead? The changes made here since it was "
                       "last saved are dropped.")
                        .arg(name)))
                openSource(path_);
            return false;
        }
    }
    return writeSource();
}

bool EditorPage::writeSource() {
    QSaveFile file(path_);
    const QByteArray bytes = editor_->toPlainText().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        desktop_.dialogs.showMessage(
            tr("The source could not be saved as \"%1\": %2").arg(path_, file.errorString()));
        return false;
    }
    onDisk_ = digestOf(path_);
    watch();
    editor_->document()->setModified(false);
    crashCopy_.remove();
    return true;
}

bool EditorPage::saveAs() {
    const QString suggested =
        path_.isEmpty() ? QDir(startFolder(library_)).filePath(title() + QStringLiteral(".md"))
                        : path_;
    QString chosen = QFileDialog::getSaveFileName(this, tr("Save the source"), suggested,
                                                  tr("Test sources (*.md)"));
    if (chosen.isEmpty()) return false;
    if (QFileInfo(chosen).suffix().isEmpty()) chosen += QStringLiteral(".md");
    if (isTemporary(chosen)) {
        desktop_.dialogs.showMessage(
            tr("\"%1\" is in a temporary folder, whose files are deleted: choose another folder, "
               "e.g. %2.")
                .arg(QDir::toNativeSeparators(chosen),
                     QDir::toNativeSeparators(startFolder(library_))));
        return false;
    }
    QDir().mkpath(QFileInfo(chosen).absolutePath());
    const QString before = path_;
    setPath(chosen); // the dialog asked before replacing a file there
    if (writeSource()) {
        rememberFolder(chosen);
        requestCheck(); // its pictures are looked for in the new folder
        return true;
    }
    setPath(before);
    return false;
}

// The pages are laid out by the live check, between the window's events: Make takes its
// findings, and waits for them when they are still to come.
bool EditorPage::make() {
    if (pageFit_ && !pagesKnown()) {
        makeWaiting_ = true;
        summary_->setText(tr("Make goes on once the pages are laid out…"));
        return false;
    }
    makeWaiting_ = false;
    const QByteArray source = editor_->toPlainText().toUtf8();
    // A trial in a scratch folder first: with a mistake nothing is asked and nothing written.
    QTemporaryDir trialFolder;
    const SourceCheck trial = checkSource(source, pictureFolder(), trialFolder.path());
    const make::SourceErrors& problems =
        trial.problems.empty() && pageFit_ ? last_.problems : trial.problems;
    if (!problems.empty()) {
        showProblems(problems);
        desktop_.dialogs.showMessage(
            tr("Nothing was written: the source has %1. The problems list says where.")
                .arg(counted(static_cast<qsizetype>(problems.size()), "mistake", "mistakes")));
        return false;
    }
    const make::TestPlace place = make::placeIn(library_, trial.name);
    const bool exists = QFileInfo::exists(place.testFile) || QFileInfo::exists(place.pageFolder);
    if (exists &&
        !desktop_.dialogs.confirm(
            tr("The library already has a test called \"%1\". Replace it? (Undo Make puts it "
               "back.)")
                .arg(trial.name)))
        return false;
    if (exists && !replaced_.keep(place)) {
        desktop_.dialogs.showMessage(
            tr("Nothing was written: a copy of the test \"%1\" in the library could not be kept "
               "to put it back later.")
                .arg(trial.name));
        return false;
    }
    const make::MakeResult result =
        make::makeTest({source, title(), pictureFolder(), library_, exists});
    if (!result.errors.empty()) {
        showProblems(result.errors);
        desktop_.dialogs.showMessage(
            tr("Nothing was written: %1").arg(result.errors.front().message));
        return false;
    }
    desktop_.dialogs.showMessage(
        tr("\"%1\" is in the library, with %2.%3")
            .arg(trial.name, counted(result.questionCount, "question", "questions"),
                 exists ? tr(" Undo Make puts the test it replaced back.") : QString()));
    emit undoMakeChanged(replaced_.has());
    emit made(result.testFile);
    return true;
}

bool EditorPage::undoMake() {
    const QString testFile = replaced_.testFile();
    if (testFile.isEmpty()) return false;
    const bool restored = replaced_.restore();
    desktop_.dialogs.showMessage(
        restored ? tr("\"%1\" is back in the library as it was before the last Make.")
                       .arg(QFileInfo(testFile).completeBaseName())
                 : tr("The test \"%1\" could not be put back.")
                       .arg(QFileInfo(testFile).completeBaseName()));
    emit undoMakeChanged(replaced_.has());
    emit made(testFile);
    return restored;
}

void EditorPage::insertPicture() {
    if (path_.isEmpty()) {
        desktop_.dialogs.showMessage(
            tr("The picture is kept beside the source: save the source first."));
        if (!saveAs()) return;
    }
    const QString chosen = QFileDialog::getOpenFileName(
        this, tr("Insert a picture"), startFolder(library_),
        tr("Pictures (*.png *.jpg *.jpeg *.gif *.bmp *.svg *.webp);;All files (*)"));
    if (!chosen.isEmpty()) insertPictureFile(chosen);
}

bool EditorPage::insertPictureFile(const QString& picture) {
    if (path_.isEmpty()) return false;
    const QString name = copyPictureInto(picture, pictureFolder());
    if (name.isEmpty()) {
        desktop_.dialogs.showMessage(
            tr("The picture \"%1\" could not be copied into %2.")
                .arg(QDir::toNativeSeparators(picture), QDir::toNativeSeparators(pictureFolder())));
        return false;
    }
    QTextCursor cursor = editor_->textCursor();
    cursor.clearSelection();
    cursor.movePosition(QTextCursor::EndOfBlock);
    const bool blank = cursor.block().text().trimmed().isEmpty();
    cursor.insertText((blank ? QString() : QStringLiteral("\n")) + pictureLine(name) +
                      QLatin1Char('\n'));
    editor_->setTextCursor(cursor);
    editor_->setFocus();
    return true;
}

void EditorPage::focusNextPane(bool forward) {
    const QList<QWidget*> panes{editor_, problems_, preview_};
    qsizetype at = 0;
    for (qsizetype i = 0; i < panes.size(); ++i)
        if (panes[i] == QApplication::focusWidget() ||
            panes[i]->isAncestorOf(QApplication::focusWidget()))
            at = i;
    QWidget* next = panes[(at + (forward ? 1 : panes.size() - 1)) % panes.size()];
    if (next == preview_)
        preview_->takeFocus();
    else
        next->setFocus(Qt::ShortcutFocusReason);
}

void EditorPage::saveLayout() const {
    QSettings settings;
    settings.setValue(QLatin1String(kSidesKey), sides_->saveState());
    settings.setValue(QLatin1String(kWritingKey), writing_->saveState());
}

void EditorPage::insertQuestion(const QString& source) {
    QTextCursor cursor = editor_->textCursor();
    cursor.clearSelection();
    cursor.movePosition(QTextCursor::EndOfBlock);
    QString text = source;
    if (!cursor.block().text().trimmed().isEmpty()) text.prepend(QStringLiteral("\n\n"));
    cursor.insertText(text);
    editor_->setTextCursor(cursor);
    editor_->setFocus();
}

void EditorPage::insertMaths(const QString& tex) {
    QTextCursor cursor = editor_->textCursor();
    const int start = cursor.selectionStart();
    cursor.insertText(tex);
    static const QRegularExpression number(QStringLiteral("\\d+"));
    const QRegularExpressionMatch first = number.match(tex);
    cursor.setPosition(start + static_cast<int>(first.capturedStart()));
    cursor.setPosition(start + static_cast<int>(first.capturedEnd()), QTextCursor::KeepAnchor);
    editor_->setTextCursor(cursor);
    editor_->setFocus();
}

void EditorPage::showFind() {
    find_->parentWidget()->show();
    find_->setFocus();
    find_->selectAll();
}

void EditorPage::findNext() {
    const QString wanted = find_->text();
    if (wanted.isEmpty()) return;
    if (editor_->find(wanted)) return;
    QTextCursor start = editor_->textCursor();
    start.movePosition(QTextCursor::Start);
    editor_->setTextCursor(start);
    if (!editor_->find(wanted)) summary_->setText(tr("\"%1\" is not in the source.").arg(wanted));
}

bool EditorPage::keepOrDiscard() {
    if (!isModified()) {
        crashCopy_.remove();
        return true;
    }
    const auto answer = QMessageBox::question(
        this, tr("Unsaved changes"), tr("Save the changes to \"%1\"?").arg(title()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Save) return save();
    crashCopy_.remove();
    return true;
}

void EditorPage::keepCrashCopy() {
    if (isModified()) crashCopy_.write(editor_->toPlainText(), path_);
}

} // namespace corvane::teacher
