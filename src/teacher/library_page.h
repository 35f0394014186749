// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

#include <QList>
#include <QWidget>

#include <string>

class QAction;
class QToolBar;
class QTreeWidget;

namespace corvane::teacher {

// The library the pupils see: every test with the checker's verdict, whether it has a source,
// its question count and last change; and what can be done to the test chosen.
class LibraryPage : public QWidget {
    Q_OBJECT
  public:
    LibraryPage(const Seams& desktop, const QString& library, QWidget* parent = nullptr);

    // Reads the library again (the window does when it shows the page).
    void refresh();
    // Puts the window's own actions (New, Open source, Import GIFT) first in the tool bar.
    void addLeadingActions(const QList<QAction*>& actions);
    // Edit, Duplicate, Delete, Show in folder, Try as a pupil, Refresh: for the window's menu.
    QList<QAction*> testActions() const { return testActions_; }
    QString library() const { return library_; }
    QString sourceFolder() const;
    QTreeWidget* list() const { return list_; }
    // The chosen test's file, empty when none is chosen.
    QString chosenTest() const;
    QString chosenSource() const;
    bool choose(const QString& name);

  signals:
    void editRequested(const QString& testFile, const QString& sourceFile);
    void tryRequested(const QString& testFile);

  private:
    QAction* addTestAction(const QString& text, const QKeySequence& keys,
                           void (LibraryPage::*slot)());
    void edit();
    void duplicate();
    void remove();
    void showInFolder();
    void tryAsPupil();
    void updateActions();

    Seams desktop_;
    QString library_;
    QTreeWidget* list_;
    QToolBar* bar_;
    QList<QAction*> testActions_;
};

} // namespace corvane::teacher
