// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's Results page on a real folder of records written by the program's own writer:
// it opens, shows a record written meanwhile within two seconds, names who has not finished,
// prints the class page on one sheet and re-marks into new records beside the old.
#include "core/class_record.h"
#include "platform/file_results_folder.h"
#include "support/test_files.h"
#include "teacher/results_page.h"
#include "teacher/results_print.h"
#include "teacher/results_pupil.h"
#include "teacher/results_remark.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimeZone>

#include <sys/stat.h>

using namespace corvane;
using corvane::testing::crlfLines;
using corvane::testing::writeFile;

namespace {

const QByteArray kChecksum = checksumHex("Shapes");

// A record of `pupil`: question q answered `answers[q - 1]`, right where it is "A".
ClassRecord recordOf(const Text& pupil, const QStringList& answers, int minute = 0) {
    ClassRecord record;
    record.finished = QDateTime(QDate(2026, 12, 8), QTime(10, minute), QTimeZone(3600));
    record.computer = QStringLiteral("PC");
    record.pupil = pupil;
    record.test = "Shapes";
    record.testChecksum = kChecksum;
    int q = 0;
    for (const QString& answer : answers) {
        const bool right = answer == QLatin1String("A");
        record.rows.push_back({++q, fromQt(answer), right, {}});
        record.score += right;
    }
    return record;
}

void save(const QString& folder, const ClassRecord& record) {
    FileResultsFolder writer;
    QString error;
    QVERIFY2(saveRecord(writer, folder, record, error), qPrintable(error));
}

// The text of a PDF, pages ending in form feeds.
QString pdfText(const QString& pdf) {
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    if (!text.waitForFinished()) qFatal("pdftotext (poppler-utils) is needed");
    return QString::fromUtf8(text.readAllStandardOutput());
}

QStringList csvFiles(const QString& folder) {
    return QDir(folder).entryList({"*.csv"}, QDir::Files, QDir::Name);
}

} // namespace

class TestResultsPage : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void liveFolderAndClassList() {
        QTemporaryDir dir;
        save(dir.path(), recordOf("Anna", {"A", "<i>C</i>"}));
        save(dir.path(), recordOf("Ben", {"B", "A"}, 1));
        writeFile(dir, "class.txt", "Anna\nBEN\nCara\n<b>Dan</b>\n");
        writeFile(dir, "notes.csv", "shopping list\r\n");
        teacher::ResultsPage page;
        page.setLibrary(dir.filePath("no library"));
        page.resize(1000, 700);
        page.show();
        page.openFolder(dir.path());
        auto* grid = page.findChild<QTableWidget*>("classGrid");
        auto* missing = page.findChild<QLabel*>("missingPupils");
        QTRY_COMPARE(grid->rowCount(), 2);
        QCOMPARE(missing->text(), QStringLiteral("Not finished (2): Cara, <b>Dan</b>"));
        QCOMPARE(missing->textFormat(), Qt::PlainText); // a name is never markup
        QCOMPARE(page.findChild<QListWidget*>("skipped")->count(), 1);
        const QTableWidgetItem* annaQ2 = grid->item(0, 5);
        QCOMPARE(annaQ2->text(), QStringLiteral("\u2717"));
        QCOMPARE(annaQ2->data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Q2 wrong, answer <i>C</i>"));
        QTextDocument tip; // what the tooltip shows: the answer as typed, never markup
        tip.setHtml(annaQ2->toolTip());
        QCOMPARE(tip.toPlainText().simplified(), QStringLiteral("Q2: <i>C</i> (wrong)"));

        // Cara finishes while the teacher watches.
        QSignalSpy refreshed(&page, &teacher::ResultsPage::refreshed);
        save(dir.path(), recordOf("Cara", {"A", "A"}, 2));
        QElapsedTimer since;
        since.start();
        QTRY_COMPARE_WITH_TIMEOUT(grid->rowCount(), 3, 2000);
        qInfo("the new record showed after %lld ms", since.elapsed());
        QCOMPARE(grid->item(2, 0)->data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Cara, just finished"));
        QCOMPARE(missing->text(), QStringLiteral("Not finished (1): <b>Dan</b>"));
        QVERIFY(page.findChild<QLabel*>("status")->text().contains("Just finished: Cara, 2/2"));

        // Enter on a pupil's row opens the pupil's page, with the answers.
        grid->setCurrentCell(0, 5);
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(page.findChild<QTabWidget*>("resultsTabs")->currentIndex(), 1);
        const QString pupilPage = page.findChild<QTextBrowser*>("pupilPage")->toPlainText();
        QVERIFY2(pupilPage.startsWith("Anna") && pupilPage.contains("Q2\n<i>C</i>\n\u2717 wrong"),
                 qPrintable(pupilPage));

        // A folder that is gone empties the page and says why.
        page.openFolder(dir.filePath("gone"));
        QTRY_COMPARE(grid->rowCount(), 0);
        QVERIFY(
            page.findChild<QLabel*>("status")->text().contains("not a folder that can be read"));
    }

    // What a real class folder holds after a few weeks: a backup copy, a FIFO and links a pupil
    // planted, and two versions of one test. Each copy counts once, each version is its own
    // entry, and the page names every file it left out, with the reason.
    void untrustedCornersAndVersions() {
        QTemporaryDir dir, elsewhere;
        save(dir.path(), recordOf("Anna", {"A", "B"}));
        save(dir.path(), recordOf("Ben", {"A", "A"}, 1));
        ClassRecord fixed = recordOf("Cara", {"A", "A"}, 2);
        fixed.testChecksum = checksumHex("Shapes, corrected");
        save(dir.path(), fixed);
        QDir().mkpath(dir.filePath("backup-9dec"));
        for (const QString& file : csvFiles(dir.path()))
            QVERIFY(QFile::copy(dir.filePath(file), dir.filePath("backup-9dec/" + file)));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("x.csv")).constData(), 0666), 0);
        QVERIFY(QFile::link(writeFile(elsewhere, "other.csv", "x"), dir.filePath("link.csv")));
        QVERIFY(QFile::link(elsewhere.path(), dir.filePath("linked folder")));

        teacher::ResultsPage page;
        page.setLibrary(dir.filePath("no library"));
        page.resize(1000, 700);
        page.show();
        page.openFolder(dir.path());
        auto* tests = page.findChild<QComboBox*>("testChoice");
        auto* grid = page.findChild<QTableWidget*>("classGrid");
        QTRY_COMPARE_WITH_TIMEOUT(tests->count(), 2, 3000);
        QStringList skipped;
        for (int i = 0; i < page.findChild<QListWidget*>("skipped")->count(); ++i)
            skipped << page.findChild<QListWidget*>("skipped")->item(i)->text();
        QCOMPARE(skipped.size(), 6);
        QVERIFY(skipped.contains(dir.filePath("x.csv") + ": a FIFO, not a record file"));
        QVERIFY(skipped.contains(dir.filePath("link.csv") + ": a link, not followed"));
        QVERIFY(skipped.contains(dir.filePath("linked folder") + ": a link, not followed"));
        QCOMPARE(skipped.filter(": a copy of " + dir.path() + "/2026").size(), 3);
        const QString note = page.findChild<QLabel*>("skippedNote")->text();
        QCOMPARE(note, QStringLiteral("Skipped: link.csv (a link, not followed); linked folder (a "
                                      "link, not followed); x.csv (a FIFO, not a record file); 3 "
                                      "copies counted once. Each is named in the Skipped tab."));

        // Each version shows its own records, copies counted once.
        // (The year is left out in the year the records were written.)
        const QRegularExpression first(" first used 8 Dec( 2026)? \\((\\d) pupils?\\)$");
        const QString older = tests->itemText(0), newer = tests->itemText(1);
        QVERIFY2(older.startsWith("Shapes [" + kChecksum.left(8) + "], earlier version,") &&
                     first.match(older).captured(2) == "2",
                 qPrintable(older));
        QVERIFY2(newer.contains("], not in the library,") && first.match(newer).captured(2) == "1",
                 qPrintable(newer));
        tests->setCurrentIndex(0);
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->item(0, 3)->text(), QStringLiteral("1")); // Anna's attempts
        tests->setCurrentIndex(1);
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->item(0, 0)->data(Qt::UserRole).toString(), QStringLiteral("Cara"));

        // A message keeps the count beside it.
        QVERIFY(!page.exportSpreadsheet(dir.filePath("no such folder/class.xlsx")));
        const QString status = page.findChild<QLabel*>("status")->text();
        QVERIFY2(status.startsWith("3 records in 2 tests, 6 skipped.") &&
                     status.contains("could not be written"),
                 qPrintable(status));
    }

    void rescanReadsOnlyWhatIsNew() {
        QTemporaryDir dir;
        save(dir.path(), recordOf("Anna", {"A"}));
        writeFile(dir, ".20261208-100000_PC_Ben_Shapes_00000001.csv.tmp", "half a rec");
        teacher::ScanRequest request{dir.path(), {}, results::AttemptChoice::Latest, {}, false, {}};
        teacher::Scan first = teacher::scanFolder(request);
        QCOMPARE(first.added.size(), 1u);
        QVERIFY(first.skipped.empty()); // a record being written is not a broken file

        request.known = first.files;
        const teacher::Scan same = teacher::scanFolder(request);
        QVERIFY(!same.changed);
        QVERIFY(same.added.empty());

        save(dir.path(), recordOf("Ben", {"B"}, 1));
        const teacher::Scan next = teacher::scanFolder(request);
        QVERIFY(next.changed);
        QCOMPARE(next.added.size(), 1u);
        QCOMPARE(next.added[0]->pupil, QStringLiteral("Ben"));
        QCOMPARE(next.records.size(), 2u);
        QCOMPARE(next.tests.at(0).pupilCount(), 2);
    }

    void classPageOnOneSheet() {
        QTemporaryDir dir;
        const QStringList thirty(30, QStringLiteral("A"));
        for (int p = 1; p <= 30; ++p)
            save(dir.path(), recordOf("Pupil " + std::to_string(p), thirty, p));
        teacher::ResultsPage page;
        page.openFolder(dir.path());
        QTRY_COMPARE(page.findChild<QTableWidget*>("classGrid")->rowCount(), 30);
        const QString pdf = dir.filePath("class.pdf");
        {
            QPdfWriter writer(pdf);
            writer.setPageSize(QPageSize(QPageSize::A4));
            page.paintClassPage(writer);
        }
        const QString printed = pdfText(pdf);
        QCOMPARE(printed.count(QLatin1Char('\f')), 1); // one page
        QVERIFY(printed.contains("Pupil 30") && printed.contains("Class average: 30.0 of 30"));

        // A pupil's page prints every answer.
        const QString pupilPdf = dir.filePath("pupil.pdf");
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pupilPdf);
            teacher::printPupilPage(printer,
                                    teacher::pupilPageHtml("Pupil 7", page.scan().tests, {}));
        }
        const QString pupil = pdfText(pupilPdf);
        QVERIFY2(pupil.contains("Pupil 7") && pupil.contains("Attempt 1") && pupil.contains("Q30"),
                 qPrintable(pupil));
    }

    void remarkSavesBesideTheOld() {
        QTemporaryDir dir;
        const QString results = dir.filePath("results");
        QDir().mkpath(results);
        // The key said A; it should have said B.
        save(results, recordOf("Anna", {"A"}));
        save(results, recordOf("Ben", {"B"}, 1));
        const QStringList before = csvFiles(results);
        QByteArray oldBytes;
        for (const QString& name : before) {
            QFile file(QDir(results).filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            oldBytes += file.readAll();
        }
        const QString fixed = writeFile(
            dir, "Shapes.txt",
            crlfLines({"1", "KSINGLECHOICE", "c", "2", "0", "1", "0", "0", "0", "B", "-"}));
        teacher::ResultsPage page;
        page.openFolder(results);
        QTRY_COMPARE(page.findChild<QTableWidget*>("classGrid")->rowCount(), 2);

        // The file the records were marked with is no correction.
        page.remarkWith(writeFile(dir, "Unchanged.txt", "Shapes"));
        QVERIFY(!page.findChild<teacher::RemarkDialog*>());
        QVERIFY(page.findChild<QLabel*>("status")->text().contains("the file these records were "
                                                                   "marked with"));
        const QByteArray fixedSum = checksumHex(
            crlfLines({"1", "KSINGLECHOICE", "c", "2", "0", "1", "0", "0", "0", "B", "-"}));
        auto* tests = page.findChild<QComboBox*>("testChoice");
        const QString oldTitle = tests->currentData().toString();
        for (int round = 0; round < 2; ++round) {
            tests->setCurrentIndex(tests->findData(oldTitle));
            page.remarkWith(fixed);
            auto* dialog = page.findChild<teacher::RemarkDialog*>();
            QVERIFY(dialog);
            auto* table = dialog->findChild<QTableWidget*>("remarkTable");
            QCOMPARE(table->rowCount(), 2);
            QCOMPARE(table->item(0, 2)->text() + table->item(0, 3)->text(), QStringLiteral("10"));
            const teacher::RemarkSave saved = dialog->save();
            QCOMPARE(saved.saved, round == 0 ? 2 : 0); // the second time they are there
            QCOMPARE(saved.already, round == 0 ? 0 : 2);
            delete dialog;
            QTRY_COMPARE(page.scan().records.size(), 4u);
            QVERIFY(!page.findChild<QLabel*>("status")->text().contains("Just finished"));
            // The page goes on to the re-marked records: Anna's A is now wrong, Ben's B right.
            if (round == 0) QTRY_COMPARE(page.currentTest()->checksum.toLatin1(), fixedSum);
            QCOMPARE(page.currentTest()->averageText(), QStringLiteral("0.5 of 1 (50%)"));
        }
        const QStringList after = csvFiles(results);
        QCOMPARE(after.size(), 4);
        QByteArray stillOld;
        for (const QString& name : before) {
            QVERIFY(after.contains(name));
            QFile file(QDir(results).filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            stillOld += file.readAll();
        }
        QCOMPARE(stillOld, oldBytes);
        QCOMPARE(page.scan().tests.size(), 2u); // the old marking and the new, side by side
    }
};

QTEST_MAIN(TestResultsPage)
#include "test_results_page.moc"
