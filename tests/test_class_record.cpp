// SPDX-License-Identifier: GPL-3.0-or-later
// Print and the class record on the results screen: what the print-out shows before and after
// the review password, the record saved off the window's thread, kept on this computer and sent
// again when it fails (also across a restart and a killed program), the real writer's files, and
// the report fitting one page.
#include "core/marking_rules.h"
#include "core/record_reader.h"
#include "platform/file_results_folder.h"
#include "platform/ini_settings.h"
#include "platform/report_page.h"
#include "pupil/form.h"
#include "pupil/record_keeper.h"
#include "support/fake_seams.h"
#include "support/test_files.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <sys/stat.h>

using namespace corvane;
using namespace corvane::testing;

namespace {

const QString kFolder = "/class/4b";
const QByteArray kShapes =
    crlfLines({"1", "KSINGLECHOICE", "", "2", "1", "0", "0", "0", "0", "", "----------"});

QStringList messages(const FakeDialogs& dialogs) {
    return dialogs.texts("message");
}

Record parsed(const QByteArray& bytes) {
    const RecordParse parse = parseRecord(bytes);
    if (!parse.error.isEmpty()) qWarning() << "not a record:" << parse.error;
    return parse.record;
}

// The records kept on this computer, as their files hold them.
std::vector<Record> keptOnDisk(const QString& folder) {
    std::vector<Record> records;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) records.push_back(parsed(file.readAll()));
    }
    return records;
}

// A whole record of Ann's, as the window writes it.
ClassRecord annsRecord() {
    ClassRecord record;
    record.finished = QDateTime::currentDateTime();
    record.pupil = "Ann";
    record.test = "Shapes";
    record.testChecksum = checksumHex("5\n");
    record.score = 1;
    record.rows = {{1, "A", true, {}}};
    return record;
}

// The files of `folder` (hidden ones too) with their permission bits.
QMap<QString, int> modes(const QString& folder) {
    QMap<QString, int> found;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        struct stat status {};
        if (::lstat(QFile::encodeName(dir.filePath(name)).constData(), &status) == 0)
            found.insert(name, int(status.st_mode & 07777));
    }
    return found;
}

const QString kSent = "Your result has been sent to your teacher.";
const QString kKeptSafe = "Your result is kept safe on this computer. ";

} // namespace

class ClassRecordTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<FakeDesktop> desktop;
    std::unique_ptr<TForm1> form;

    // A new window, as at the next start of the program.
    void startForm() { startFormWith(desktop->seams()); }
    // A window with the real settings file or the real results folder in place of the fakes.
    void startFormWith(const Seams& seams) {
        form = std::make_unique<TForm1>(seams);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void load(const QString& name) {
        form->testName = fromQt(name);
        form->testFilePath = QFile::encodeName(dir.filePath(name + ".txt")).toStdString();
        form->loadfile();
    }

    // A pupil's run of five questions of the loaded test ends with a click on Finish on
    // question 5.
    void finishFive(const Text& pupil, int right) {
        form->pupilName = pupil;
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

    QString keptFolder() const { return RecordKeeper::keptFolder(); }
    QString note() const { return form->RecordNote->isVisible() ? form->RecordNote->text() : ""; }

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        writeFile(dir, "Shapes.txt", kShapes);
    }

    void init() {
        QVERIFY(QDir(keptFolder()).removeRecursively());
        desktop = std::make_unique<FakeDesktop>();
        desktop->display.size = {800, 600};
        startForm();
        load("Shapes");
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
        QCOMPARE(saved.front().folder, kFolder);
        const Record record = parsed(saved.front().bytes);
        QCOMPARE(record.pupil, QString("Ann"));
        QCOMPARE(record.test, QString("Shapes"));
        QCOMPARE(record.score, 4);
        QCOMPARE(record.finished.toSecsSinceEpoch(), form->finishedAt.toSecsSinceEpoch());
        QCOMPARE(record.checksum.toLatin1(), checksumHex(kShapes));
        QCOMPARE(record.questions.size(), std::size_t(5));
        QVERIFY(!record.questions[4].right);
        QVERIFY(messages(desktop->dialogs).isEmpty());
        QVERIFY(keptOnDisk(keptFolder()).empty()); // it left this computer once saved
    }

    // The checksum is the file that was marked: taken at loading, whatever happens to the file
    // afterwards.
    void checksumIsTakenWhenTheTestIsLoaded_data() {
        QTest::addColumn<bool>("moved");
        QTest::newRow("edited") << false;
        QTest::newRow("moved away") << true;
    }
    void checksumIsTakenWhenTheTestIsLoaded() {
        QFETCH(bool, moved);
        desktop->settings.folder = kFolder;
        const QString path = writeFile(dir, "Moving.txt", kShapes);
        load("Moving");
        if (moved)
            QVERIFY(QFile::rename(path, path + ".old"));
        else
            writeFile(dir, "Moving.txt", kShapes + "edited\r\n");
        finishFive("Ann", 4);
        waitForSaves();
        QCOMPARE(desktop->resultsFolder.saved().size(), std::size_t(1));
        QCOMPARE(parsed(desktop->resultsFolder.saved().front().bytes).checksum.toLatin1(),
                 checksumHex(kShapes));
    }

    // Reset leaves the test loaded: the next pupil's Start runs it, and the results screen, the
    // print-out and the record name it.
    void resetThenStartNamesTheTest() {
        desktop->settings.folder = kFolder;
        desktop->dialogs.yesAnswers = {true};
        TForm1::hidePanel(form->ResultPanel);
        TForm1::showPanel(form->QuestionPanel);
        form->currentQuestion = 1;
        QTest::mouseClick(form->IReset, Qt::LeftButton);
        QVERIFY(form->StartPanel->isVisible());

        form->EStartName->setText("Bob");
        QTest::mouseClick(form->IStartOk, Qt::LeftButton);
        QTest::mouseClick(form->ClickStart, Qt::LeftButton);
        QCOMPARE(form->currentQuestion, 1);
        answerFive(form->store, 5);
        form->currentQuestion = 5;
        QTest::mouseClick(form->IFinish, Qt::LeftButton);
        QTest::mouseClick(form->Iprint, Qt::LeftButton);
        waitForSaves();

        QCOMPARE(form->testName, Text("Shapes"));
        QCOMPARE(desktop->printer.printed.back().testName, Text("Shapes"));
        QCOMPARE(desktop->resultsFolder.saved().size(), std::size_t(1));
        const Record record = parsed(desktop->resultsFolder.saved().front().bytes);
        QCOMPARE(record.pupil, QString("Bob"));
        QCOMPARE(record.test, QString("Shapes"));
    }

    // Writes that take seconds: the results screen is up at once and the window takes input.
    void slowSavingLeavesTheWindowFree() {
        desktop->settings.folder = kFolder;
        desktop->resultsFolder.delayMs = 3000;
        finishFive("Ann", 4);
        QVERIFY(form->recordKeeper().saving());
        QVERIFY(desktop->resultsFolder.saved().empty());
        QVERIFY(form->Iscore->isVisible());
        QTRY_COMPARE(note(), kKeptSafe + "It is being sent to your teacher.");
        QCOMPARE(keptOnDisk(keptFolder()).size(), std::size_t(1));
        QVERIFY(desktop->resultsFolder.saved().empty());

        desktop->dialogs.inputAnswers = {"wrong password"};
        QTest::mouseClick(form->IReview, Qt::LeftButton);
        QTest::mouseClick(form->Iprint, Qt::LeftButton);
        QCOMPARE(desktop->dialogs.texts("input").size(), 1);
        QCOMPARE(desktop->printer.printed.size(), std::size_t(1));
        QVERIFY(form->recordKeeper().saving());

        QTRY_VERIFY_WITH_TIMEOUT(!form->recordKeeper().saving(), 10000);
        QCOMPARE(desktop->resultsFolder.saved().size(), std::size_t(1));
        QCOMPARE(note(), kSent);
        QVERIFY(keptOnDisk(keptFolder()).empty());
    }

    // A results folder that hangs holds up no later pupil's record: each is kept on this
    // computer at once, while the first send still waits.
    void hangingFolderLeavesKeepingFree() {
        desktop->settings.folder = kFolder;
        desktop->resultsFolder.delayMs = 2000;
        finishFive("Ann", 4);
        QTRY_COMPARE(keptOnDisk(keptFolder()).size(), std::size_t(1));
        finishFive("Bob", 2);
        QTRY_COMPARE(note(), kKeptSafe + "It is being sent to your teacher.");
        QCOMPARE(keptOnDisk(keptFolder()).size(), std::size_t(2));
        QVERIFY(desktop->resultsFolder.saved().empty());
        QTRY_VERIFY_WITH_TIMEOUT(!form->recordKeeper().saving(), 10000);
        QCOMPARE(desktop->resultsFolder.saved().size(), std::size_t(2));
    }

    // A failed record is kept, tried again with the next Finish, and saved once it can be.
    void failedRecordIsKeptAndTriedAgain() {
        desktop->settings.folder = kFolder;
        desktop->resultsFolder.failWith("Network is unreachable");
        finishFive("Ann", 4);
        waitForSaves();
        QVERIFY(messages(desktop->dialogs).isEmpty()); // a line on the results screen, no box
        QCOMPARE(note(), kKeptSafe + "It will be sent to your teacher later.\nFor your teacher: "
                                     "The result could not be saved in /class/4b: Network is "
                                     "unreachable");
        QVERIFY(form->ResultPanel->isVisible());
        QCOMPARE(form->recordKeeper().kept(), std::size_t(1));
        QCOMPARE(keptOnDisk(keptFolder()).size(), std::size_t(1));

        desktop->resultsFolder.failWith({});
        finishFive("Bob", 2);
        waitForSaves();
        const auto saved = desktop->resultsFolder.saved();
        QCOMPARE(saved.size(), std::size_t(2));
        QCOMPARE(parsed(saved[0].bytes).pupil, QString("Ann"));
        QCOMPARE(parsed(saved[1].bytes).pupil, QString("Bob"));
        QCOMPARE(form->recordKeeper().kept(), std::size_t(0));
        QVERIFY(keptOnDisk(keptFolder()).empty());
        QCOMPARE(note(), kSent);
    }

    // A record that the folder did not take is sent by the next start of the program, and
    // leaves this computer then.
    void keptRecordIsSentAtTheNextStart() {
        desktop->settings.folder = kFolder;
        desktop->resultsFolder.failWith("Network is unreachable");
        finishFive("Ann", 4);
        waitForSaves();
        form.reset();
        QCOMPARE(keptOnDisk(keptFolder()).size(), std::size_t(1));

        desktop->resultsFolder.failWith({});
        startForm();
        waitForSaves();
        QCOMPARE(desktop->resultsFolder.saved().size(), std::size_t(1));
        QCOMPARE(parsed(desktop->resultsFolder.saved().front().bytes).pupil, QString("Ann"));
        QVERIFY(keptOnDisk(keptFolder()).empty());
        QVERIFY(messages(desktop->dialogs).isEmpty()); // the results screen told the pupil
    }

    // Killed while the folder hangs: the record is on this computer, and the next start sends
    // it. The program is a real process, ended by SIGKILL.
    void killedProgramLosesNothing() {
        QProcess finisher;
        finisher.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        finisher.start(CORVANE_FINISH_AND_HANG,
                       {QCoreApplication::applicationName(), dir.filePath("Shapes.txt")});
        QVERIFY(finisher.waitForReadyRead(60000));
        QCOMPARE(finisher.readLine().trimmed(), QByteArray("finished"));
        finisher.kill();
        QVERIFY(finisher.waitForFinished());
        const std::vector<Record> kept = keptOnDisk(keptFolder());
        QCOMPARE(kept.size(), std::size_t(1));
        QCOMPARE(kept.front().pupil, QString("Kim"));

        desktop->settings.folder = kFolder;
        startForm();
        waitForSaves();
        QCOMPARE(desktop->resultsFolder.saved().size(), std::size_t(1));
        QCOMPARE(parsed(desktop->resultsFolder.saved().front().bytes).pupil, QString("Kim"));
        QVERIFY(keptOnDisk(keptFolder()).empty());
    }

    void closingTriesOnceMoreThenSaysWhatIsKept_data() {
        QTest::addColumn<bool>("folderBack");
        QTest::newRow("folder back at closing") << true;
        QTest::newRow("still failing") << false;
    }
    void closingTriesOnceMoreThenSaysWhatIsKept() {
        QFETCH(bool, folderBack);
        desktop->settings.folder = kFolder;
        desktop->resultsFolder.failWith("No space left on device");
        finishFive("Ann", 4);
        waitForSaves();
        desktop->dialogs.clear();
        if (folderBack) desktop->resultsFolder.failWith({});

        form->close();
        form->IQuitClick(nullptr); // Quit closes the window too: once is enough

        QCOMPARE(desktop->resultsFolder.attempts.load(), 2);
        QCOMPARE(desktop->resultsFolder.saved().size(), std::size_t(folderBack ? 1 : 0));
        const QStringList expected{folderBack
                                       ? QStringList{}
                                       : QStringList{"The result could not be saved in "
                                                     "/class/4b: No space left on device\n"
                                                     "Not yet saved, kept on this computer in " +
                                                     keptFolder() + ": Ann (Shapes, 4 out of 5)"}};
        QCOMPARE(messages(desktop->dialogs), expected);
        QCOMPARE(keptOnDisk(keptFolder()).size(), std::size_t(folderBack ? 0 : 1));
    }

    // Where this computer cannot keep the record either, the messages say so, and closing
    // names it lost.
    void recordThatCannotBeKeptIsNamed() {
        QVERIFY(QDir().mkpath(QFileInfo(keptFolder()).path()));
        writeFile(dir, "not a folder", "x");
        QVERIFY(QFile::copy(dir.filePath("not a folder"), keptFolder()));
        desktop->settings.folder = kFolder;
        desktop->resultsFolder.failWith("Network is unreachable");
        finishFive("Ann", 4);
        waitForSaves();
        QCOMPARE(note(), "Your result could not be saved. Please tell your teacher now.\nFor your "
                         "teacher: The result could not be saved in /class/4b: Network is "
                         "unreachable; it cannot be kept on this computer in " +
                             keptFolder() + ": the folder cannot be made");
        form->close();
        QFile::remove(keptFolder());
        QCOMPARE(messages(desktop->dialogs),
                 QStringList{"The result could not be saved in /class/4b: Network is "
                             "unreachable\nThese results are lost (they cannot be kept on this "
                             "computer in " +
                             keptFolder() +
                             ": the folder cannot be made): Ann (Shapes, 4 out of 5)"});
    }

    // A folder that hangs holds up closing no longer than the limit; the record stays kept.
    void closingWaitsAtMostTheLimit() {
        desktop->settings.folder = kFolder;
        desktop->resultsFolder.delayMs = 3000;
        finishFive("Ann", 4);
        QElapsedTimer closing;
        closing.start();
        form->recordKeeper().saveKeptBeforeClosing(std::chrono::milliseconds(300));
        QVERIFY2(closing.elapsed() < 2000, qPrintable(QString::number(closing.elapsed())));
        QVERIFY(form->recordKeeper().stillSending());
        QCOMPARE(messages(desktop->dialogs),
                 QStringList{"The result could not be saved in /class/4b: the folder does not "
                             "answer\nNot yet saved, kept on this computer in " +
                             keptFolder() + ": Ann (Shapes, 4 out of 5)"});
        QCOMPARE(keptOnDisk(keptFolder()).size(), std::size_t(1));
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
        const QString name = recordFileName(record, 1);
        const QByteArray bytes = recordCsv(record);
        QVERIFY2(writer.save(folder.path(), name, bytes, error), qPrintable(error));
        QVERIFY2(writer.save(folder.path(), name, bytes, error), qPrintable(error)); // sent twice
        QVERIFY2(writer.save(folder.path(), name, bytes + "x", error), qPrintable(error));
        const QStringList files =
            QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        QCOMPARE(files.size(), 2);
        QVERIFY(files.contains(name));
        for (const QString& file : files) {
            QVERIFY(file.endsWith(".csv") && !file.startsWith('.'));
            QCOMPARE(file.size(), name.size());
            QFile written(folder.filePath(file));
            QVERIFY(written.open(QIODevice::ReadOnly));
            QCOMPARE(written.readAll(), file == name ? bytes : bytes + "x");
        }

        QVERIFY(!writer.save(dir.filePath("Shapes.txt"), name, bytes, error));
        QCOMPARE(error, qt_error_string(ENOTDIR));
    }

    // Records are rw-r----- whatever the pupil's umask: the copy kept on this computer while
    // the results folder is missing, and the copy the real writer puts there at the next start.
    void recordsAre0640WhateverTheUmask_data() {
        QTest::addColumn<int>("mask");
        QTest::newRow("077, shared machines") << 077;
        QTest::newRow("070, no group rights") << 070;
        QTest::newRow("022, the usual") << 022;
        QTest::newRow("000") << 0;
    }
    void recordsAre0640WhateverTheUmask() {
        QFETCH(int, mask);
        QTemporaryDir share;
        const QString folder = share.filePath("4b");
        desktop->settings.folder = folder;
        FileResultsFolder writer;
        Seams seams = desktop->seams();
        Seams real{seams.dialogs,       seams.browsers, seams.display,  seams.documents,
                   seams.programFolder, seams.printer,  seams.settings, writer};
        const mode_t before = ::umask(mask);
        auto restore = qScopeGuard([before] { ::umask(before); });
        startFormWith(real);
        load("Shapes");
        finishFive("Ann", 4);
        waitForSaves();
        const QMap<QString, int> kept = modes(keptFolder());
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept.first(), 0640);
        QVERIFY(note().contains(qt_error_string(ENOENT)));

        QVERIFY(QDir().mkpath(folder));
        form.reset();
        startFormWith(real);
        waitForSaves();
        QVERIFY(modes(keptFolder()).isEmpty());
        const QMap<QString, int> sent = modes(folder);
        QCOMPARE(sent.keys(), kept.keys());
        QCOMPARE(sent.first(), 0640);
    }

    // A mistake that may hide the results folder keeps every record on this computer, is told
    // on the start screen, and once the file is put right the next start sends them. The real
    // settings file, read as the program reads it.
    void brokenResultsSettingKeepsRecords_data() {
        QTest::addColumn<QByteArray>("broken");
        QTest::newRow("misspelt key") << QByteArray("[results]\nfodler=FOLDER\n");
        QTest::newRow("misspelt section") << QByteArray("[resluts]\nfolder=FOLDER\n");
        QTest::newRow("set twice") << QByteArray("[results]\nfolder=FOLDER\nfolder=FOLDER\n");
    }
    void brokenResultsSettingKeepsRecords() {
        QFETCH(QByteArray, broken);
        QTemporaryDir program, share;
        const QByteArray folder = QFile::encodeName(share.path());
        writeFile(program, "corvane-maths.ini", broken.replace("FOLDER", folder));
        desktop->programFolder.folder = QFile::encodeName(program.path()).toStdString();
        IniSettings ini(desktop->programFolder);
        FileResultsFolder writer;
        Seams seams = desktop->seams();
        Seams real{seams.dialogs,       seams.browsers, seams.display, seams.documents,
                   seams.programFolder, seams.printer,  ini,           writer};
        startFormWith(real);
        QVERIFY(form->SettingsNote->isVisible());
        QVERIFY2(form->SettingsNote->text().startsWith(
                     "Results are kept on this computer until this is put right: "
                     "corvane-maths.ini line "),
                 qPrintable(form->SettingsNote->text()));
        load("Shapes");
        finishFive("Ann", 4);
        waitForSaves();
        QCOMPARE(keptOnDisk(keptFolder()).size(), std::size_t(1));
        QVERIFY(modes(share.path()).isEmpty());
        QVERIFY(note().startsWith(kKeptSafe + "It will be sent to your teacher when the results "
                                              "setting is put right.\nFor your teacher: "));
        form->close();
        QVERIFY(messages(desktop->dialogs).isEmpty()); // nothing lost, nothing more to say

        writeFile(program, "corvane-maths.ini", "[results]\nfolder=" + folder + "\n");
        form.reset();
        startFormWith(real);
        QVERIFY(!form->SettingsNote->isVisible());
        waitForSaves();
        QVERIFY(keptOnDisk(keptFolder()).empty());
        QCOMPARE(keptOnDisk(share.path()).size(), std::size_t(1));
    }

    // A program killed between writing a kept record and renaming it leaves it under its
    // temporary name: the next start sends it when it is whole, and leaves anything else alone.
    void strandedRecordIsSentAtTheNextStart_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("sent");
        QTest::newRow("whole") << "whole" << true;
        QTest::newRow("cut in its data line") << "cut" << false;
        QTest::newRow("only the header line") << "header" << false;
        QTest::newRow("nothing written yet") << "empty" << false;
        QTest::newRow("a link to a whole record") << "link" << false;
    }
    void strandedRecordIsSentAtTheNextStart() {
        QFETCH(QString, how);
        QFETCH(bool, sent);
        form.reset();
        QVERIFY(QDir().mkpath(keptFolder()));
        const ClassRecord record = annsRecord();
        const QString name = recordFileName(record, 7);
        const QByteArray whole = recordCsv(record);
        const QByteArray bytes = how == "cut"      ? whole.left(whole.size() - 5)
                                 : how == "header" ? whole.left(whole.indexOf('\n') + 1)
                                 : how == "empty"  ? QByteArray()
                                                   : whole;
        const QString temporary = QDir(keptFolder()).filePath(temporaryName(name));
        if (how == "link") {
            const QString target = writeFile(dir, "elsewhere.csv", whole);
            QVERIFY(QFile::link(target, temporary));
        } else {
            QFile file(temporary);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }

        desktop->settings.folder = kFolder;
        startForm();
        waitForSaves();
        const auto saved = desktop->resultsFolder.saved();
        QCOMPARE(saved.size(), std::size_t(sent ? 1 : 0));
        if (sent) {
            QCOMPARE(saved.front().name, name);
            QCOMPARE(saved.front().bytes, whole);
        }
        // What is not a whole record stays as it was, for a person to look at.
        QCOMPARE(QFileInfo::exists(temporary) || QFileInfo(temporary).isSymLink(), !sent);
        QVERIFY(QDir(keptFolder()).entryList({"*.csv"}, QDir::Files).isEmpty());
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
