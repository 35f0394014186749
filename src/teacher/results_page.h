// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The teacher's Results page: the class page of a test (average, spread, grid of pupils against
// questions, the hardest questions with their wrong answers, who has not finished), a pupil's
// page, the files that are not records, re-marking, export and printing. Live: records that
// arrive in the folder show within moments.
#include "teacher/results_watch.h"
#include "tools/results/library_tests.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPagedPaintDevice;
class QTabWidget;
class QTextBrowser;

namespace corvane::teacher {

class ClassView;

class ResultsPage : public QWidget {
    Q_OBJECT
  public:
    explicit ResultsPage(QWidget* parent = nullptr);

    // Shows the records under `folder` and watches it.
    void openFolder(const QString& folder);
    // The folder to start with: the one chosen last, else the class record's folder of
    // corvane-maths.ini; empty when there is neither.
    static QString startFolder();
    // The test library the questions' headings and right answers come from (by default the
    // program's test/ folder).
    void setLibrary(const QString& folder);
    // Uses this class list instead of class.txt of the folder.
    void setClassList(const QString& file);

    // The actions behind the page's buttons, once their file is chosen.
    bool exportCsv(const QString& path, bool byteOrderMark);
    bool exportHtml(const QString& path);
    bool exportSpreadsheet(const QString& path); // .xlsx
    void remarkWith(const QString& correctedTestFile);
    void paintClassPage(QPagedPaintDevice& device);
    void showPupil(const QString& name);

    const Scan& scan() const { return watch_.latest(); }
    const results::TestSummary* currentTest() const;
    QStringList missingPupils() const;
    QStringList classList() const; // the chosen list, else class.txt of the folder
    results::AttemptChoice choice() const;

  signals:
    void refreshed(); // the view shows a new scan

  private:
    QWidget* buildPupilTab();
    QWidget* buildButtons();
    void scanned(bool fresh);
    void showStatus();
    void showSkippedNote();
    void showTest();
    void chooseFolder();
    void chooseClassList();
    void askRemark();
    void askExportCsv();
    void askExportHtml();
    void askExportSpreadsheet();
    void printClass();
    void printPupil();
    void tell(const QString& text);
    results::LibraryTests libraryTests() const; // the library, and the versions kept of it

    ResultsWatch watch_;
    QString library_;
    QString classListFile_;    // chosen; empty for class.txt of the folder
    QString newestPupil_;      // grouping key of the newest finisher, marked for a moment
    QString newestTest_;       // that record's test key
    QString wantedTest_;       // the key of a test to show once a scan has it (re-marked records)
    QString note_;             // the last message to the teacher ("Saved …"), beside the count
    QString newestNote_;       // "Just finished: …" for the status line
    QDateTime latestFinished_; // the latest finishing time of the records read so far
    QTimer newestTimer_;

    QLabel* folderLabel_;
    QLabel* status_;
    QLabel* skippedNote_;
    QComboBox* choice_;
    QComboBox* tests_;
    QTabWidget* tabs_;
    ClassView* classView_;
    QComboBox* pupils_;
    QTextBrowser* pupilPage_;
    QListWidget* skipped_;
    QCheckBox* byteOrderMark_;
};

} // namespace corvane::teacher
