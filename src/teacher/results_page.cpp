// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/results_page.h"

#include "platform/desktop.h"
#include "platform/ini_settings.h"
#include "teacher/results_class_view.h"
#include "teacher/results_print.h"
#include "teacher/results_pupil.h"
#include "teacher/results_remark.h"
#include "tools/results/reports.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace corvane::teacher {

namespace {

constexpr int kNewestMs = 10000; // how long the newest finisher stays marked
const QString kFolderKey = QStringLiteral("results/chosenFolder");

QPushButton* button(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QString choiceName(results::AttemptChoice choice) {
    QString name = results::choiceWord(choice) + QStringLiteral(" attempt");
    name[0] = name[0].toUpper();
    return name;
}

bool isCopy(const results::Skipped& skip) {
    return skip.reason.startsWith(QLatin1String("a copy of "));
}

bool writeWhole(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    error = file.errorString();
    return false;
}

} // namespace

ResultsPage::ResultsPage(QWidget* parent)
    : QWidget(parent), library_(QCoreApplication::applicationDirPath() + QStringLiteral("/test")) {
    setObjectName(QStringLiteral("resultsPage"));
    setAccessibleName(QStringLiteral("Results"));
    watch_.setLibrary(library_);
    newestTimer_.setSingleShot(true);
    newestTimer_.setInterval(kNewestMs);
    connect(&newestTimer_, &QTimer::timeout, this, [this] {
        newestPupil_.clear();
        newestNote_.clear();
        showStatus();
        showTest();
    });
    connect(&watch_, &ResultsWatch::scanned, this, &ResultsPage::scanned);

    folderLabel_ = new QLabel(QStringLiteral("No results folder"), this);

    folderLabel_->setTextFormat(Qt::PlainText); // names and paths are never markup
    folderLabel_->setObjectName(QStringLiteral("folderLabel"));
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    choice_ = new QComboBox(this);
    choice_->setObjectName(QStringLiteral("attemptChoice"));
    choice_->setAccessibleName(QStringLiteral("Which attempt counts"));
    for (auto c : {results::AttemptChoice::Latest, results::AttemptChoice::Best,
                   results::AttemptChoice::First})
        choice_->addItem(choiceName(c), static_cast<int>(c));
    tests_ = new QComboBox(this);
    tests_->setObjectName(QStringLiteral("testChoice"));
    tests_->setAccessibleName(QStringLiteral("Test"));
    tests_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    status_ = new QLabel(this);
    status_->setTextFormat(Qt::PlainText);
    status_->setObjectName(QStringLiteral("status"));
    status_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    auto* chooseFolderButton = button(QStringLiteral("Choose fol&der…"), "chooseFolder", this);
    auto* classListButton = button(QStringLiteral("C&lass list…"), "chooseClassList", this);
    connect(chooseFolderButton, &QPushButton::clicked, this, &ResultsPage::chooseFolder);
    connect(classListButton, &QPushButton::clicked, this, &ResultsPage::chooseClassList);

    auto* top = new QHBoxLayout;
    top->addWidget(folderLabel_, 1);
    top->addWidget(chooseFolderButton);
    top->addWidget(classListButton);
    auto* pick = new QHBoxLayout;
    auto* testLabel = new QLabel(QStringLiteral("Te&st:"), this);
    testLabel->setBuddy(tests_);
    auto* choiceLabel = new QLabel(QStringLiteral("C&ounts:"), this);
    choiceLabel->setBuddy(choice_);
    pick->addWidget(testLabel);
    pick->addWidget(tests_, 1);
    pick->addWidget(choiceLabel);
    pick->addWidget(choice_);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("resultsTabs"));
    classView_ = new ClassView(this);
    connect(classView_, &ClassView::pupilActivated, this, &ResultsPage::showPupil);
    tabs_->addTab(classView_, QStringLiteral("Cl&ass"));
    tabs_->addTab(buildPupilTab(), QStringLiteral("&Pupil"));
    skipped_ = new QListWidget(this);
    skipped_->setObjectName(QStringLiteral("skipped"));
    skipped_->setAccessibleName(QStringLiteral("Files that are not records"));
    tabs_->addTab(skipped_, QStringLiteral("Skipped"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(pick);
    layout->addWidget(status_);
    skippedNote_ = new QLabel(this);
    skippedNote_->setObjectName(QStringLiteral("skippedNote"));
    skippedNote_->setTextFormat(Qt::PlainText); // file names are never markup
    skippedNote_->setWordWrap(true);
    skippedNote_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    skippedNote_->hide();
    layout->addWidget(skippedNote_);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buildButtons());

    connect(tests_, &QComboBox::currentIndexChanged, this, &ResultsPage::showTest);
    connect(choice_, &QComboBox::currentIndexChanged, this, [this] { watch_.setChoice(choice()); });
}

QWidget* ResultsPage::buildPupilTab() {
    auto* tab = new QWidget(this);
    pupils_ = new QComboBox(tab);
    pupils_->setObjectName(QStringLiteral("pupilChoice"));
    pupils_->setAccessibleName(QStringLiteral("Pupil"));
    pupilPage_ = new QTextBrowser(tab);
    pupilPage_->setObjectName(QStringLiteral("pupilPage"));
    pupilPage_->setAccessibleName(QStringLiteral("The pupil's attempts and answers"));
    connect(pupils_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        pupilPage_->setHtml(name.isEmpty() ? QString()
                                           : pupilPageHtml(name, scan().tests, libraryTests()));
    });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("P&upil:"), pupils_);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(form);
    layout->addWidget(pupilPage_, 1);
    return tab;
}

QWidget* ResultsPage::buildButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* remark = button(QStringLiteral("Re-&mark…"), "remark", row);
    remark->setToolTip(QStringLiteral("Mark this test again with a corrected test file"));
    auto* csv = button(QStringLiteral("Export &CSV…"), "exportCsv", row);
    byteOrderMark_ = new QCheckBox(QStringLiteral("&Byte-order mark"), row);
    byteOrderMark_->setObjectName(QStringLiteral("byteOrderMark"));
    byteOrderMark_->setToolTip(QStringLiteral("For spreadsheets that read UTF-8 only with one"));
    auto* html = button(QStringLiteral("E&xport HTML…"), "exportHtml", row);
    auto* sheet = button(QStringLiteral("Export sp&readsheet…"), "exportSpreadsheet", row);
    sheet->setToolTip(QStringLiteral("An .xlsx file that opens by double click"));
    auto* printClassButton = button(QStringLiteral("Pri&nt class page…"), "printClass", row);
    auto* printPupilButton = button(QStringLiteral("Print pupil pa&ge…"), "printPupil", row);
    connect(remark, &QPushButton::clicked, this, &ResultsPage::askRemark);
    connect(csv, &QPushButton::clicked, this, &ResultsPage::askExportCsv);
    connect(html, &QPushButton::clicked, this, &ResultsPage::askExportHtml);
    connect(sheet, &QPushButton::clicked, this, &ResultsPage::askExportSpreadsheet);
    connect(printClassButton, &QPushButton::clicked, this, &ResultsPage::printClass);
    connect(printPupilButton, &QPushButton::clicked, this, &ResultsPage::printPupil);
    for (QWidget* w : std::initializer_list<QWidget*>{remark, sheet, csv, byteOrderMark_, html,
                                                      printClassButton, printPupilButton})
        layout->addWidget(w);
    layout->addStretch(1);
    return row;
}

void ResultsPage::openFolder(const QString& folder) {
    folderLabel_->setText(QStringLiteral("Results folder: ") + folder);
    status_->setText(QStringLiteral("Reading the records…"));
    newestPupil_.clear();
    newestNote_.clear();
    note_.clear();
    latestFinished_ = {};
    watch_.open(folder);
}

QString ResultsPage::startFolder() {
    const QString chosen = QSettings().value(kFolderKey).toString();
    if (!chosen.isEmpty()) return chosen;
    ExecutableFolder program;
    return IniSettings(program).read().resultsFolder;
}

results::LibraryTests ResultsPage::libraryTests() const {
    return results::LibraryTests(library_, results::keptVersionsFolder());
}

void ResultsPage::setLibrary(const QString& folder) {
    library_ = folder;
    watch_.setLibrary(folder);
}

void ResultsPage::setClassList(const QString& file) {
    classListFile_ = file;
    showTest();
}

const results::TestSummary* ResultsPage::currentTest() const {
    const QString key = tests_->currentData().toString();
    for (const results::TestSummary& test : scan().tests)
        if (test.key() == key) return &test;
    return nullptr;
}

QStringList ResultsPage::classList() const {
    if (classListFile_.isEmpty()) return scan().classList;
    QFile file(classListFile_);
    return file.open(QIODevice::ReadOnly) ? results::classListNames(file.read(1 << 20))
                                          : QStringList();
}

QStringList ResultsPage::missingPupils() const {
    const results::TestSummary* test = currentTest();
    return test ? results::missingPupils(*test, classList()) : QStringList();
}

void ResultsPage::scanned(bool fresh) {
    const Scan& s = scan(); // a folder that cannot be read gives an empty scan and its reason
    // The newest finisher: a new record that finished after every record read before (records
    // of a re-mark keep their pupils' old times and are no finishers).
    const results::Record* newest = nullptr;
    for (const auto& record : s.added)
        if (!newest || record->finished > newest->finished) newest = record.get();
    const QDateTime before = latestFinished_;
    if (newest && (!before.isValid() || newest->finished > before))
        latestFinished_ = newest->finished;
    if (newest && fresh && before.isValid() && newest->finished > before) {
        newestPupil_ = results::sameNameKey(newest->pupil);
        newestTest_ = results::testKey(*newest);
        newestNote_ = QStringLiteral(" Just finished: %1, %2/%3 in %4.")
                          .arg(newest->pupil)
                          .arg(newest->score)
                          .arg(newest->questions.size())
                          .arg(newest->test);
        newestTimer_.start();
    }

    // The test shown stays; a new folder starts at the test of its latest record, and new
    // records of a re-mark are shown as soon as they are read.
    const QString chosen = tests_->currentData().toString();
    QString latestTitle;
    QDateTime latest;
    {
        const QSignalBlocker block(tests_);
        tests_->clear();
        for (const results::TestSummary& test : s.tests) {
            tests_->addItem(QStringLiteral("%1 (%2)").arg(
                                test.displayName(), results::counted(test.pupilCount(), "pupil")),
                            test.key());
            for (const results::PupilResult& pupil : test.pupils)
                if (!latest.isValid() || pupil.attempts.back().finished > latest) {
                    latest = pupil.attempts.back().finished;
                    latestTitle = test.key();
                }
        }
        int keep = tests_->findData(wantedTest_);
        if (keep < 0) keep = tests_->findData(chosen);
        if (keep < 0) keep = tests_->findData(latestTitle);
        tests_->setCurrentIndex(std::max(keep, 0));
        if (tests_->currentData() == wantedTest_) wantedTest_.clear();
    }

    const QString pupil = pupils_->currentText();
    {
        const QSignalBlocker block(pupils_);
        pupils_->clear();
        pupils_->addItems(pupilNames(s.tests));
        pupils_->setCurrentIndex(std::max(pupils_->findText(pupil), 0));
    }
    if (!pupils_->currentText().isEmpty() && tabs_->currentIndex() == 1)
        emit pupils_->currentTextChanged(pupils_->currentText());

    // What needs a look first (folders that cannot be read, links, FIFOs, files that are no
    // records), then the copies, each once counted.
    skipped_->clear();
    for (const bool copies : {false, true})
        for (const results::Skipped& skip : s.skipped)
            if (isCopy(skip) == copies)
                skipped_->addItem(skip.path + QStringLiteral(": ") + skip.reason);
    tabs_->setTabText(2, QStringLiteral("S&kipped (%1)").arg(s.skipped.size()));
    showSkippedNote();

    showStatus();
    showTest();
    emit refreshed();
}

void ResultsPage::showStatus() {
    const Scan& s = scan();
    QString text = s.error;
    if (text.isEmpty() && !s.folder.isEmpty())
        text = QStringLiteral("%1 in %2, %3 skipped.%4")
                   .arg(results::counted(static_cast<int>(s.records.size()), "record"),
                        results::counted(static_cast<int>(s.tests.size()), "test"))
                   .arg(s.skipped.size())
                   .arg(newestNote_);
    if (text.isEmpty()) text = QStringLiteral("Reading the records…");
    // A message stays beside the count, not in its place.
    status_->setText(note_.isEmpty() ? text : text + QLatin1Char(' ') + note_);
}

void ResultsPage::showSkippedNote() {
    // The Skipped tab names every folder and file left out, with the reason; this line names
    // the first few that are not copies, and counts the copies.
    const Scan& s = scan();
    constexpr qsizetype kNamed = 3;
    const QDir folder(s.folder);
    QStringList named;
    std::size_t copies = 0, others = 0;
    for (const results::Skipped& skip : s.skipped) {
        if (isCopy(skip)) {
            ++copies;
        } else if (named.size() < kNamed) {
            named << QDir::toNativeSeparators(folder.relativeFilePath(skip.path)) +
                         QStringLiteral(" (") + skip.reason + QLatin1Char(')');
        } else {
            ++others;
        }
    }
    if (others > 0) named << QStringLiteral("%1 more").arg(others);
    if (copies == 1) named << QStringLiteral("1 copy counted once");
    if (copies > 1) named << QStringLiteral("%1 copies counted once").arg(copies);
    skippedNote_->setText(named.isEmpty()
                              ? QString()
                              : QStringLiteral("Skipped: ") + named.join(QStringLiteral("; ")) +
                                    QStringLiteral(". Each is named in the Skipped tab."));
    skippedNote_->setVisible(!named.isEmpty());
}

void ResultsPage::showTest() {
    const results::TestSummary* test = currentTest();
    const bool newestHere = test && test->key() == newestTest_;
    const QStringList names = classList();
    classView_->showTest(test, test ? results::missingPupils(*test, names) : QStringList(),
                         test ? results::pupilsNotListed(*test, names) : QStringList(),
                         newestHere ? newestPupil_ : QString(), !scan().tests.empty());
}

void ResultsPage::showPupil(const QString& name) {
    pupils_->setCurrentIndex(pupils_->findText(name));
    pupilPage_->setHtml(pupilPageHtml(name, scan().tests, libraryTests()));
    tabs_->setCurrentIndex(1);
}

bool ResultsPage::exportCsv(const QString& path, bool byteOrderMark) {
    QString error;
    if (writeWhole(path, results::csvReport(scan().tests, byteOrderMark), error)) return true;
    tell(QStringLiteral("%1 could not be written: %2").arg(path, error));
    return false;
}

bool ResultsPage::exportSpreadsheet(const QString& path) {
    const QString error = results::writeXlsxReport(path, scan().tests, choice());
    if (error.isEmpty()) return true;
    tell(QStringLiteral("%1 could not be written: %2").arg(path, error));
    return false;
}

results::AttemptChoice ResultsPage::choice() const {
    return static_cast<results::AttemptChoice>(choice_->currentData().toInt());
}

bool ResultsPage::exportHtml(const QString& path) {
    QString error;
    if (writeWhole(path, results::htmlReport(scan().tests).toUtf8(), error)) return true;
    tell(QStringLiteral("%1 could not be written: %2").arg(path, error));
    return false;
}

void ResultsPage::remarkWith(const QString& correctedTestFile) {
    const results::TestSummary* test = currentTest();
    if (!test) return;
    std::vector<results::Record> records;
    for (const results::PupilResult& pupil : test->pupils)
        records.insert(records.end(), pupil.attempts.begin(), pupil.attempts.end());
    results::Remark remark = results::remarkRecords(records, correctedTestFile);
    if (remark.checksum == test->checksum)
        remark.error = QStringLiteral("%1 is the file these records were marked with; choose the "
                                      "corrected one.")
                           .arg(correctedTestFile);
    if (!remark.error.isEmpty()) {
        tell(remark.error);
        return;
    }
    const QString remarked = results::testKey(test->test, remark.checksum, test->questions);
    auto* dialog = new RemarkDialog(std::move(remark), scan().records, scan().folder, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &RemarkDialog::recordsSaved, this, [this, remarked] {
        wantedTest_ = remarked;
        watch_.rescan();
    });
    connect(dialog, &QDialog::finished, &watch_, &ResultsWatch::rescan);
    dialog->open();
}

void ResultsPage::paintClassPage(QPagedPaintDevice& device) {
    if (const results::TestSummary* test = currentTest())
        teacher::paintClassPage(device, *test, missingPupils());
}

void ResultsPage::chooseFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Results folder"), scan().folder);
    if (folder.isEmpty()) return;
    QSettings().setValue(kFolderKey, folder);
    openFolder(folder);
}

void ResultsPage::chooseClassList() {
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Class list (one name per line)"), scan().folder,
        QStringLiteral("Text files (*.txt);;All files (*)"));
    if (!file.isEmpty()) setClassList(file);
}

void ResultsPage::askRemark() {
    if (!currentTest()) return tell(QStringLiteral("Choose a test with records first."));
    const QString file =
        QFileDialog::getOpenFileName(this, QStringLiteral("The corrected test file"), library_,
                                     QStringLiteral("Test files (*.txt);;All files (*)"));
    if (!file.isEmpty()) remarkWith(file);
}

void ResultsPage::askExportCsv() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export CSV"), QString(),
                                                      QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty() && exportCsv(path, byteOrderMark_->isChecked()))
        tell(QStringLiteral("Saved %1.").arg(path));
}

void ResultsPage::askExportSpreadsheet() {
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export spreadsheet"),
                                                QString(), QStringLiteral("Spreadsheet (*.xlsx)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
    if (exportSpreadsheet(path)) tell(QStringLiteral("Saved %1.").arg(path));
}

void ResultsPage::askExportHtml() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export HTML"),
                                                      QString(), QStringLiteral("HTML (*.html)"));
    if (!path.isEmpty() && exportHtml(path)) tell(QStringLiteral("Saved %1.").arg(path));
}

void ResultsPage::printClass() {
    if (!currentTest()) return tell(QStringLiteral("Choose a test with records first."));
    QPrinter printer;
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) paintClassPage(printer);
}

void ResultsPage::printPupil() {
    if (pupils_->currentText().isEmpty()) return tell(QStringLiteral("No pupil to print."));
    QPrinter printer;
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printPupilPage(printer,
                       pupilPageHtml(pupils_->currentText(), scan().tests, libraryTests()));
}

void ResultsPage::tell(const QString& text) {
    note_ = text;
    showStatus();
}

} // namespace corvane::teacher
