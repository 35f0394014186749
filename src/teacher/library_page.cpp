// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/library_page.h"

#include "core/app_error.h"
#include "core/library.h"
#include "teacher/folder_copy.h"
#include "teacher/library_entries.h"
#include "teacher/library_folder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvane::teacher {

namespace {

enum Column { kName, kState, kSource, kQuestions, kChanged };
constexpr int kFileRole = Qt::UserRole;
constexpr int kSourceRole = Qt::UserRole + 1;

} // namespace

LibraryPage::LibraryPage(const Seams& desktop, const QString& library, QWidget* parent)
    : QWidget(parent), desktop_(desktop), library_(library), list_(new QTreeWidget(this)),
      bar_(new QToolBar(tr("Library"), this)) {
    setObjectName(QStringLiteral("libraryPage"));
    list_->setObjectName(QStringLiteral("library"));
    list_->setAccessibleName(tr("Tests in the library"));
    list_->setHeaderLabels(
        {tr("Test"), tr("State"), tr("Source"), tr("Questions"), tr("Last change")});
    list_->setRootIsDecorated(false);
    list_->setSortingEnabled(false);
    list_->header()->setSectionResizeMode(kName, QHeaderView::Stretch);
    auto* label =
        new QLabel(tr("Tests in the library %1:").arg(QDir::toNativeSeparators(library)), this);
    label->setBuddy(list_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    layout->addWidget(label);
    layout->addWidget(list_, 1);

    addTestAction(tr("&Edit"), QKeySequence(Qt::CTRL | Qt::Key_E), &LibraryPage::edit);
    addTestAction(tr("&Duplicate…"), QKeySequence(Qt::CTRL | Qt::Key_D), &LibraryPage::duplicate);
    addTestAction(tr("De&lete…"), QKeySequence::Delete, &LibraryPage::remove);
    addTestAction(tr("Show in &folder"), {}, &LibraryPage::showInFolder);
    addTestAction(tr("&Try as a pupil"), QKeySequence(Qt::CTRL | Qt::Key_T),
                  &LibraryPage::tryAsPupil);
    auto* reload = new QAction(tr("&Refresh"), this);
    reload->setObjectName(QStringLiteral("refresh"));
    reload->setShortcut(QKeySequence::Refresh);
    connect(reload, &QAction::triggered, this, &LibraryPage::refresh);
    testActions_ << reload;
    bar_->addAction(reload);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &LibraryPage::updateActions);
    connect(list_, &QTreeWidget::itemActivated, this, &LibraryPage::edit);
}

QAction* LibraryPage::addTestAction(const QString& text, const QKeySequence& keys,
                                    void (LibraryPage::*slot)()) {
    auto* action = new QAction(text, this);
    action->setShortcut(keys);
    // The shortcuts act on the list only: Delete in the editor deletes text.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, slot);
    addAction(action);
    bar_->addAction(action);
    testActions_ << action;
    return action;
}

void LibraryPage::addLeadingActions(const QList<QAction*>& actions) {
    QAction* first = bar_->actions().value(0);
    bar_->insertActions(first, actions);
    bar_->insertSeparator(first);
}

QString LibraryPage::sourceFolder() const {
    return sourceFolderOf(library_);
}

void LibraryPage::refresh() {
    const QString chosen = list_->currentItem() ? list_->currentItem()->text(kName) : QString();
    list_->clear();
    std::vector<LibraryEntry> entries;
    try {
        entries = libraryEntries(library_, sourceFolder());
    } catch (const AppError& error) {
        auto* item = new QTreeWidgetItem(
            list_, {tr("The library cannot be read: %1").arg(QString::fromLatin1(error.what()))});
        item->setFlags(Qt::ItemIsEnabled);
    }
    for (const LibraryEntry& entry : entries) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(kName, entry.name);
        item->setText(kState, entry.state);
        item->setToolTip(kState, entry.firstProblem);
        if (entry.hasErrors) item->setForeground(kState, QColor(0xb9, 0x1c, 0x1c));
        item->setText(kSource, entry.sourceFile.isEmpty() ? tr("none") : tr("yes"));
        item->setText(kQuestions, entry.questionCount < 0 ? tr("does not load")
                                                          : QString::number(entry.questionCount));
        item->setText(kChanged, QLocale().toString(entry.lastChange, QLocale::ShortFormat));
        item->setData(kName, kFileRole, QByteArray::fromStdString(entry.testFile));
        item->setData(kName, kSourceRole, entry.sourceFile);
    }
    if (!choose(chosen) && list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    updateActions();
}

bool LibraryPage::choose(const QString& name) {
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->text(kName) == name) {
            list_->setCurrentItem(list_->topLevelItem(i));
            return true;
        }
    return false;
}

QString LibraryPage::chosenTest() const {
    const QTreeWidgetItem* item = list_->currentItem();
    return item ? QFile::decodeName(item->data(kName, kFileRole).toByteArray()) : QString();
}

QString LibraryPage::chosenSource() const {
    const QTreeWidgetItem* item = list_->currentItem();
    return item ? item->data(kName, kSourceRole).toString() : QString();
}

void LibraryPage::updateActions() {
    const bool chosen = !chosenTest().isEmpty();
    for (QAction* action : testActions_)
        if (action->objectName() != QLatin1String("refresh")) action->setEnabled(chosen);
}

void LibraryPage::edit() {
    if (!chosenTest().isEmpty()) emit editRequested(chosenTest(), chosenSource());
}

void LibraryPage::tryAsPupil() {
    if (!chosenTest().isEmpty()) emit tryRequested(chosenTest());
}

void LibraryPage::showInFolder() {
    desktop_.documents.open(
        QFile::encodeName(library_).toStdString(), this, [this](const QString& reason) {
            desktop_.dialogs.showMessage(
                tr("The folder could not be opened: %1. It is %2.").arg(reason, library_));
        });
}

void LibraryPage::duplicate() {
    const QString test = chosenTest();
    if (test.isEmpty()) return;
    const QString name = list_->currentItem()->text(kName);
    const QString copy =
        desktop_.dialogs
            .inputBox(tr("Duplicate"), tr("The copy's name:"), tr("%1 (copy)").arg(name))
            .trimmed();
    if (copy.isEmpty() || copy == name) return;
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|]"));
    const QDir library(library_);
    const QString copyFile = library.filePath(copy + QStringLiteral(".txt"));
    if (copy.contains(forbidden) || copy.contains(QLatin1String(".txt"), Qt::CaseInsensitive)) {
        desktop_.dialogs.showMessage(
            tr("A test's name cannot hold \\ / : * ? \" < > | or \".txt\"."));
        return;
    }
    if (QFileInfo::exists(copyFile) || QFileInfo::exists(library.filePath(copy))) {
        desktop_.dialogs.showMessage(tr("The library already has a test called \"%1\".").arg(copy));
        return;
    }
    // Copied under temporary names and renamed: never half a test in the pupils' list.
    const QString stagingFolder = library.filePath(QStringLiteral(".copying-") + copy);
    const QString stagingFile = stagingFolder + QStringLiteral(".part");
    const QString pages = QFile::decodeName(
        QByteArray::fromStdString(removeTxt(QFile::encodeName(test).toStdString())));
    const bool copied = QFile::copy(test, stagingFile) && copyFolder(pages, stagingFolder) &&
                        QFile::rename(stagingFolder, library.filePath(copy)) &&
                        QFile::rename(stagingFile, copyFile);
    if (!copied) {
        QDir(stagingFolder).removeRecursively();
        QFile::remove(stagingFile);
        desktop_.dialogs.showMessage(tr("The test \"%1\" could not be copied.").arg(name));
    }
    refresh();
    choose(copy);
}

void LibraryPage::remove() {
    const QString test = chosenTest();
    if (test.isEmpty()) return;
    const QString name = list_->currentItem()->text(kName);
    if (!desktop_.dialogs.confirm(
            tr("Move the test \"%1\" and its pages to the wastebasket?").arg(name)))
        return;
    const QString pages = QFile::decodeName(
        QByteArray::fromStdString(removeTxt(QFile::encodeName(test).toStdString())));
    bool moved = QFile::moveToTrash(test);
    if (moved && QFileInfo::exists(pages)) moved = QFile::moveToTrash(pages);
    if (!moved)
        desktop_.dialogs.showMessage(
            tr("The test \"%1\" could not be moved to the wastebasket.").arg(name));
    refresh();
}

} // namespace corvane::teacher
