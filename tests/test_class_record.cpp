// Print and the class record on the results screen: what the print-out shows before and after
// the review password, the record saved off the window's thread, kept and tried again when it
// fails, the real writer's files, and the report fitting one page.
#include "core/marking_rules.h"
#include "platform/file_results_folder.h"
#include "platform/ini_settings.h"
#include "platform/report_page.h"
#include "pupil/form.h"
#include "pupil/record_keeper.h"
#include "support/fake_seams.h"
#include "support/test_files.h"

#include <QPainter>
#include <QtTest>

using namespace corvane;
using namespace corvane::testing;

namespace {

const QString kFolder = "/class/4b";

QStringList messages(const FakeDialogs& dialogs) {
    return dialogs.texts("message");
}

} // namespace

class ClassRecordTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<FakeDesktop> desktop;
    std::unique_ptr<TForm1> form;

    // A pupil's run of five questions ends with a click on Finish on question 5.
    void finishFive(const Text& pupil, int right) {
        form->pupilName = pupil;
        form->testName = "Shapes";
        form->testFilePath = QFile::encodeName(dir.filePath("Shapes.txt")).toStdString();
        form->reviewMode = 0;
        answerFive(form->store, right);
        TForm1::hidePanel(form->ResultPanel);
        TForm1::showPanel(form->QuestionPanel);
        form->currentQuestion = 5;
        QTest::mouseClick(form->IFinish, Qt::LeftButton);
        QVERIFY(form->ResultPanel->isVisible());
    }

    void openReviewAndFinish() {
        desktop->dialogs.inputAnswers = {"marblets"};
        QTest::mouseClick(form->IReview, Qt::LeftButton);
        QVERIFY(form->reviewMode);
        QTest::mouseClick(form->IFinish, Qt::LeftButton);
        QVERIFY(form->ResultPanel->isVisible());
    }

    void waitForSaves() { QTRY_VERIFY(!form->recordKeeper().saving()); }

  private slots:
    void initTestCase() {
        QFile test(dir.filePath("Shapes.txt"));
        QVERIFY(test.open(QIODevice::WriteOnly) && test.write("5\n") == 2);
    }

    void init() {
        desktop = std::make_unique<FakeDesktop>();
        desktop->display.size = {800, 600};
        form = std::make_unique<TForm1>(desktop->seams());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() {
        form.reset();
        desktop.reset();
    }

    // The pupil's print-out has no right answer; after the review password it has them all.
    void printOutShowsRightAnswersOnlyAfterTheReview() {
        finishFive("Ann", 3);
        QTest::mouseClick(form->Iprint, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(form->Iprint, Qt::RightButton);
        QCOMPARE(desktop->printer.printed.size(), std::size_t(1));
        const Report pupil = desktop->printer.printed.front();
        QCOMPARE(pupil.pupilName, Text("Ann"));
        QCOMPARE(pupil.testName, Text("Shapes"));
        QCOMPARE(pupil.scoreLine, scoreLine(3, 5));
        QCOMPARE(pupil.finished, form->finishedAt);
        QVERIFY(!pupil.withRightAnswers);
        QCOMPARE(pupil.rows.size(), std::size_t(5));
        for (const ReportRow& row : pupil.rows) {
            QCOMPARE(row.right, row.number <= 3);
            QCOMPARE(row.answer, Text(row.number <= 3 ? "A" : "B"));
            QVERIFY(row.rightAnswer.empty());
        }

        openReviewAndFinish();
        QTest::mouseClick(form->Iprint, Qt::LeftButton);
        const Report teacher = desktop->printer.printed.back();
        QVERIFY(teacher.withRightAnswers);
        QCOMPARE(teacher.finished, pupil.finished); // finishing again in review is no new finish
        for (const ReportRow& row : teacher.rows)
            QCOMPARE(row.rightAnswer, Text("Right Answer :A"));
    }

    void recordOffWritesNothing() {
        finishFive("Ann", 3);
        waitForSaves();
        QCOMPARE(desktop->resultsFolder.attempts.load(), 0);
    }

    // One record per marking Finish, none for finishing again in review, no right answer in it.
    void finishSavesOneRecord() {
        desktop->settings.folder = kFolder;
        finishFive("Ann", 4);
        openReviewAndFinish();
        waitForSaves();
        const auto saved = desktop->resultsFolder.saved();
        QCOMPARE(saved.size(), std::size_t(1));
        const auto& [folder, record] = saved.front();
        QCOMPARE(folder, kFolder);
        QCOMPARE(record.pupil, Text("Ann"));
        QCOMPARE(record.test, Text("Shapes"));
        QCOMPARE(record.score, 4);
        QCOMPARE(record.finished, form->finishedAt);
        QCOMPARE(record.testChecksum, checksumHex("5\n"));
        QCOMPARE(record.rows.size(), std::size_t(5));
        QVERIFY(!record.rows[4].right && record.rows[4].rightAnswer.empty());
        QVERIFY(messages(desktop->dialogs).isEmpty());
    }

    // Writes that take seconds: the results screen is up at once and the window takes input.
    void slowSavingLeavesTheWindowFree() {
        desktop->settings.folder = kFolder;
        desktop->resultsFolder.delayMs = 3000;
        finishFive("Ann", 4);
        QVERIFY(form->recordKeeper().saving());
        QVERIFY(desktop->resultsFolder.saved().empty());

        desktop->dialogs.inputAnswers = {"wrong password"};
        QTest::mouseClick(form->IReview, Qt::LeftButton);
        QTest::mouseClick(form->Iprint, Qt::LeftButton);
        QCOMPARE(desktop->dialogs.texts("input").size(), 1);
        QCOMPARE(desktop->printer.printed.size(), std::size_t(1));
        QVERIFY(form->recordKeeper().saving());

        QTRY_VERIFY_WITH_TIMEOUT(!form->recordKeeper().saving(), 10000);
        QCOMPARE(desktop->resultsFolder.saved().size(), std::size_t(1));
    }

    // A failed record is kept, tried again with the next Finish, and saved once it can be.
    void failedRecordIsKeptAndTriedAgain() {
        desktop->settings.folder = kFolder;
        desktop->resultsFolder.failWith("Network is unreachable");
        finishFive("Ann", 4);
        waitForSaves();
        QCOMPARE(messages(desktop->dialogs),
                 QStringList{"The result could not be saved in /class/4b: Network is unreachable"});
        QVERIFY(form->ResultPanel->isVisible());
        QCOMPARE(form->recordKeeper().kept(), std::size_t(1));

        desktop->resultsFolder.failWith({});
        finishFive("Bob", 2);
        waitForSaves();
        const auto saved = desktop->resultsFolder.saved();
        QCOMPARE(saved.size(), std::size_t(2));
        QCOMPARE(saved[0].second.pupil, Text("Ann"));
        QCOMPARE(saved[1].second.pupil, Text("Bob"));
        QCOMPARE(form->recordKeeper().kept(), std::size_t(0));
    }

    void closingTriesOnceMoreThenSaysWhatIsLost_data() {
        QTest::addColumn<bool>("folderBack");
        QTest::newRow("folder back at closing") << true;
        QTest::newRow("still failing") << false;
    }
    void closingTriesOnceMoreThenSaysWhatIsLost() {
        QFETCH(bool, folderBack);
        desktop->settings.folder = kFolder;
        desktop->resultsFolder.failWith("No space left on device");
        finishFive("Ann", 4);
        waitForSaves();
        desktop->dialogs.clear();
        if (folderBack) desktop->resultsFolder.failWith({});

        form->close();

        QCOMPARE(desktop->resultsFolder.attempts.load(), 2);
        QCOMPARE(desktop->resultsFolder.saved().size(), std::size_t(folderBack ? 1 : 0));
        const QStringList expected{folderBack
                                       ? QStringList{}
                                       : QStringList{"The result could not be saved in "
                                                     "/class/4b: No space left on device\n"
                                                     "These results are lost: Ann (Shapes)"}};
        QCOMPARE(messages(desktop->dialogs), expected);
    }

    // The real writer: the record's bytes under their name, nothing temporary left, a second
    // record of the same second beside the first, and a clear error for a folder that is none.
    void realWriterAddsWholeFiles() {
        QTemporaryDir folder;
        ClassRecord record;
        record.finished = QDateTime::currentDateTime();
        record.pupil = "Ann";
        record.test = "Shapes";
        record.testChecksum = checksumHex("5\n");
        record.rows = {{1, "A", true, {}}};
        FileResultsFolder writer;
        QString error;
        QVERIFY2(writer.save(folder.path(), record, error), qPrintable(error));
        QVERIFY2(writer.save(folder.path(), record, error), qPrintable(error));
        const QStringList files =
            QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        QCOMPARE(files.size(), 2);
        for (const QString& name : files) {
            QVERIFY(name.endsWith(".csv") && !name.startsWith('.'));
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), recordCsv(record));
        }

        QVERIFY(!writer.save(dir.filePath("Shapes.txt"), record, error));
        QCOMPARE(error, qt_error_string(ENOTDIR));
    }

    void settingsFile_data() {
        QTest::addColumn<QByteArray>("ini"); // empty: no file
        QTest::addColumn<QString>("expected");
        QTest::newRow("no file") << QByteArray() << "";
        QTest::newRow("no key") << QByteArray("[results]\n") << "";
        QTest::newRow("blank folder") << QByteArray("[results]\nfolder=  \n") << "";
        QTest::newRow("absolute") << QByteArray("[results]\nfolder=/srv/4b\n") << "/srv/4b";
        QTest::newRow("beside the program")
            << QByteArray("[results]\nfolder=results/../4b\n") << "PROGRAM/4b";
    }
    void settingsFile() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, expected);
        QTemporaryDir program;
        if (!ini.isEmpty()) {
            QFile file(program.filePath("corvane-maths.ini"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size());
        }
        FakeProgramFolder folder;
        folder.folder = QFile::encodeName(program.path()).toStdString();
        QCOMPARE(IniSettings(folder).read().resultsFolder,
                 QString(expected).replace("PROGRAM", program.path()));
    }

    // Thirty rows with long answers stay on the page, above its bottom margin.
    void thirtyRowsFitOnePage() {
        Report report{"Shapes", "Ann", QDateTime::currentDateTime(), scoreLine(1, 30), true, {}};
        for (int q = 1; q <= 30; ++q)
            report.rows.push_back({q, Text(200, 'W'), q == 1, Text(200, 'W')});
        QImage page(595, 842, QImage::Format_RGB32);
        page.fill(Qt::gray);
        {
            QPainter painter(&page);
            paintReport(painter, QRectF(0, 0, 595, 800), report);
        }
        auto inked = [&](int top, int bottom) {
            for (int y = top; y < bottom; ++y)
                for (int x = 0; x < page.width(); ++x)
                    if (qGray(page.pixel(x, y)) < 100) return true;
            return false;
        };
        QVERIFY(inked(0, 60));     // the title
        QVERIFY(inked(700, 800));  // the last rows
        QVERIFY(!inked(800, 842)); // nothing beyond the page given
    }
};

QTEST_MAIN(ClassRecordTest)
#include "test_class_record.moc"
