// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/class_record.h"
#include "core/csv_lines.h"
#include "support/test_files.h"
#include "tools/results/folder.h"
#include "tools/results/record.h"
#include "tools/results/reports.h"
#include "tools/results/summary.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace corvane;
using namespace corvane::results;
using corvane::testing::runTool;
using corvane::testing::ToolRun;
using corvane::testing::writeFile;

namespace {

const QByteArray kHeader = "Finished,Computer,Pupil,Test,Test checksum,Score,Questions,"
                           "Q1 verdict,Q1 answer,Q2 verdict,Q2 answer";
const QByteArray kSum = QByteArray(64, 'a');

// A two-question record of `pupil`; `answers` is the raw tail of the data line.
QByteArray record(const QByteArray& pupil, const QByteArray& answers = "right,A,wrong,Yes",
                  const QByteArray& score = "1") {
    return kHeader + "\r\n2026-12-08T10:15:03+01:00,PC1," + pupil + ",Shapes," + kSum + "," +
           score + ",2," + answers + "\r\n";
}

// A parsed record of one test, finished at `finished`, right where `verdicts` has a 1.
Record made(const QString& pupil, const QString& finished, const QString& verdicts,
            const QString& checksum = QString(64, QLatin1Char('a'))) {
    Record r{pupil + finished,
             QDateTime::fromString(finished, Qt::ISODate),
             "PC",
             pupil,
             "Shapes",
             checksum,
             0,
             {}};
    for (QChar v : verdicts) {
        r.questions.push_back({v == QLatin1Char('1'), "x"});
        r.score += v == QLatin1Char('1') ? 1 : 0;
    }
    return r;
}

int run(const QStringList& arguments, QString* err = nullptr) {
    const ToolRun results = runTool(CORVANE_RESULTS_EXE, arguments);
    if (err) *err = results.err;
    return results.status;
}

} // namespace

class TestClassResults : public QObject {
    Q_OBJECT

  private slots:
    void parse_data();
    void parse();
    void fieldsRoundTrip();
    void formulaGuard_data();
    void formulaGuard();
    void unreadableFolder_data();
    void unreadableFolder();
    void untrustedEntries_data();
    void untrustedEntries();
    void writerAndReaderAgree();
    void summary();
    void csvCells();
    void exitStatuses();
};

void TestClassResults::parse_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error"); // the start of the reason; empty for a record
    QTest::addColumn<QString>("answer2");

    QTest::addRow("plain") << record("Anna") << ""
                           << "Yes";
    QTest::addRow("quoted comma, quote, CR LF")
        << record("\"Ng, \"\"Al\"\"\"", "right,A,wrong,\"1,5\r\n\"\"x\"\"\"") << ""
        << "1,5\r\n\"x\"";
    QTest::addRow("spaces kept") << record("Anna", "right,A,wrong, 7 ") << ""
                                 << " 7 ";
    QTest::addRow("no final CR LF") << record("Anna").chopped(2) << "cut short"
                                    << "";
    QTest::addRow("only CR at end") << record("Anna").chopped(1) << "cut short"
                                    << "";
    QTest::addRow("open quote") << record("Anna", "right,A,wrong,\"Ye") << "cut short"
                                << "";
    // As a spreadsheet saves it again: a byte-order mark, LF line ends.
    QTest::addRow("LF line ends") << QByteArray(record("Anna")).replace("\r\n", "\n") << ""
                                  << "Yes";
    QTest::addRow("byte-order mark") << "\xEF\xBB\xBF" + record("Anna") << ""
                                     << "Yes";
    QTest::addRow("both, quoted LF kept")
        << "\xEF\xBB\xBF" + record("Anna", "right,A,wrong,\"a\nb\"").replace("\r\n", "\n") << ""
        << "a\nb";
    QTest::addRow("LF, no final line end")
        << QByteArray(record("Anna")).replace("\r\n", "\n").chopped(1) << "cut short"
        << "";
    QTest::addRow("byte-order mark twice")
        << "\xEF\xBB\xBF\xEF\xBB\xBF" + record("Anna") << "foreign"
        << "";
    QTest::addRow("lone CR between lines")
        << QByteArray(record("Anna")).replace("\r\n2026", "\r2026") << "a line ends in a lone CR"
        << "";
    QTest::addRow("quote inside field") << record("An\"na") << "broken quoting"
                                        << "";
    QTest::addRow("foreign header") << QByteArray("Name,Score\r\nAnna,3\r\n") << "foreign"
                                    << "";
    QTest::addRow("header columns swapped")
        << record("Anna").replace("Q2 verdict,Q2 answer", "Q2 answer,Q2 verdict") << "foreign"
        << "";
    QTest::addRow("not UTF-8") << record("Zo\xEB") << "foreign"
                               << "";
    QTest::addRow("empty") << QByteArray() << "empty"
                           << "";
    QTest::addRow("blank third line") << record("Anna") + "\r\n"
                                      << "3 lines"
                                      << "";
    QTest::addRow("header only") << kHeader + "\r\n"
                                 << "1 lines"
                                 << "";
    QTest::addRow("field missing") << record("Anna", "right,A,wrong") << "the data line has 10"
                                   << "";
    QTest::addRow("Questions mismatch") << record("Anna").replace(",1,2,", ",1,3,") << "Questions"
                                        << "";
    QTest::addRow("score above count") << record("Anna", "right,A,right,B", "3") << "Score is not"
                                       << "";
    QTest::addRow("score not verdicts")
        << record("Anna", "right,A,right,B", "1") << "Score does not"
        << "";
    QTest::addRow("bad verdict") << record("Anna", "right,A,Right,B") << "Q2 verdict"
                                 << "";
    QTest::addRow("upper-case checksum")
        << record("Anna").replace(kSum, kSum.toUpper()) << "Test checksum"
        << "";
    QTest::addRow("time without offset") << record("Anna").replace("+01:00", "") << "Finished"
                                         << "";
    QTest::addRow("no pupil") << record("") << "no pupil"
                              << "";
}

void TestClassResults::parse() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QFETCH(QString, answer2);
    const RecordParse parse = parseRecord(bytes);
    if (!error.isEmpty()) {
        QVERIFY2(parse.error.startsWith(error), qPrintable(parse.error));
        return;
    }
    QCOMPARE(parse.error, QString());
    QCOMPARE(parse.record.questions.size(), 2u);
    QVERIFY(parse.record.questions[0].right && !parse.record.questions[1].right);
    QCOMPARE(parse.record.questions[1].answer, answer2);
    QCOMPARE(parse.record.finished.toSecsSinceEpoch(), 1796721303); // 09:15:03 UTC
}

void TestClassResults::fieldsRoundTrip() {
    const CsvLine fields{"",           "plain",        " spaced ", "a,b",
                         "say \"hi\"", "two\r\nlines", "\"",       "\xC3\xAB"};
    QByteArrayList quoted;
    for (const QByteArray& field : fields)
        quoted << corvane::csvField(field);
    const CsvLines back = splitCsvLines(quoted.join(',') + "\r\n");
    QCOMPARE(back.error, QString());
    QCOMPARE(back.lines, std::vector<CsvLine>{fields});
    QCOMPARE(corvane::csvField("plain"), QByteArray("plain"));
}

// Texts a spreadsheet would take for formulas get a leading quote in the record, and read back
// as they were; so does a text that would otherwise lose a quote of its own.
void TestClassResults::formulaGuard_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("field"); // as the record holds it
    QTest::addRow("=") << QByteArray("=1+2") << QByteArray("'=1+2");
    QTest::addRow("+") << QByteArray("+44") << QByteArray("'+44");
    QTest::addRow("-") << QByteArray("-5") << QByteArray("'-5");
    QTest::addRow("@") << QByteArray("@SUM(A1)") << QByteArray("'@SUM(A1)");
    QTest::addRow("tab") << QByteArray("\tx") << QByteArray("'\tx");
    QTest::addRow("CR") << QByteArray("\rx") << QByteArray("\"'\rx\"");
    QTest::addRow("quote before =") << QByteArray("'=x") << QByteArray("''=x");
    QTest::addRow("quotes before -") << QByteArray("''-1") << QByteArray("'''-1");
    QTest::addRow("quote alone") << QByteArray("'") << QByteArray("'");
    QTest::addRow("quoted word") << QByteArray("'hello") << QByteArray("'hello");
    QTest::addRow("= inside") << QByteArray("a=b") << QByteArray("a=b");
    QTest::addRow("comma first") << QByteArray(",5") << QByteArray("\",5\"");
}

void TestClassResults::formulaGuard() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, field);
    corvane::ClassRecord saved;
    saved.finished = QDateTime::fromString("2026-12-08T10:15:03Z", Qt::ISODate);
    saved.computer = QString::fromUtf8(text);
    saved.pupil = text.toStdString();
    saved.test = "T" + text.toStdString();
    saved.testChecksum = kSum;
    saved.rows = {{1, text.toStdString(), false, {}}};
    const QByteArray bytes = corvane::recordCsv(saved);
    QVERIFY2(bytes.endsWith(",wrong," + field + "\r\n"), bytes.constData());
    QVERIFY2(bytes.contains("+00:00," + field + "," + field + ","), bytes.constData());
    const RecordParse back = parseRecord(bytes);
    QCOMPARE(back.error, QString());
    QCOMPARE(back.record.computer.toUtf8(), text);
    QCOMPARE(back.record.pupil.toUtf8(), text);
    QCOMPARE(back.record.test.toUtf8(), "T" + text);
    QCOMPARE(back.record.questions[0].answer.toUtf8(), text);
}

// A folder that cannot be read is named and makes the exit status 1; what can be read is read.
void TestClassResults::unreadableFolder_data() {
    QTest::addColumn<QString>("locked"); // under the folder given; empty: that folder itself
    QTest::addRow("sub-folder") << "a";
    QTest::addRow("folder given") << "";
}

void TestClassResults::unreadableFolder() {
    QFETCH(QString, locked);
    QTemporaryDir dir;
    writeFile(dir, "20261208-101503_PC1_Anna_Shapes_0badf00d.csv", record("Anna"));
    writeFile(dir, "a/b/20261208-101504_PC2_Ben_Shapes_12345678.csv", record("Ben"));
    const QString lockedPath = locked.isEmpty() ? dir.path() : dir.filePath(locked);
    const auto open =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(dir.path(), open));
    QVERIFY(QFile::setPermissions(lockedPath, QFile::ExeOwner | QFile::ExeOther));
    // Root reads every folder: the tool then runs as nobody.
    QString program = CORVANE_RESULTS_EXE;
    QStringList arguments{dir.path()};
    if (::geteuid() == 0) {
        arguments.prepend(program);
        arguments = QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups"} + arguments;
        program = "setpriv";
    }
    const ToolRun results = runTool(program, arguments);
    QVERIFY(QFile::setPermissions(lockedPath, open));
    QCOMPARE(results.status, 1);
    QVERIFY2(results.err.contains(
                 lockedPath + ": folder cannot be read: " + qt_error_string(EACCES) + ", skipped"),
             qPrintable(results.err));
    QCOMPARE(results.out.contains("Anna"), !locked.isEmpty());
    QVERIFY(!results.out.contains("Ben"));
}

// What a pupil can plant in the drop box is named and skipped at once: a FIFO would block a
// reader for ever, a link would read a file the pupil cannot.
void TestClassResults::untrustedEntries_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::addRow("FIFO named as a record") << "fifo"
                                            << "x.csv"
                                            << "a FIFO, not a record file";
    QTest::addRow("FIFO as the class list") << "fifo"
                                            << "class.txt"
                                            << "a FIFO, not a record file";
    QTest::addRow("FIFO in a sub-folder") << "fifo"
                                          << "a/y.csv"
                                          << "a FIFO, not a record file";
    QTest::addRow("link to another class's record") << "file link"
                                                    << "z.csv"
                                                    << "a link, not followed";
    QTest::addRow("link to a folder") << "folder link"
                                      << "other"
                                      << "a link, not followed";
    QTest::addRow("link as the class list") << "file link"
                                            << "class.txt"
                                            << "a link, not followed";
}

void TestClassResults::untrustedEntries() {
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir, elsewhere;
    writeFile(dir, "20261208-101503_PC1_Anna_Shapes_0badf00d.csv", record("Anna"));
    const QString secret =
        writeFile(elsewhere, "20261208-101504_PC2_Ben_Shapes_12345678.csv", record("Ben"));
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
    else
        QVERIFY(QFile::link(kind == "file link" ? secret : elsewhere.path(), path));

    QElapsedTimer took;
    took.start();
    const FolderRecords found = readRecordsIn(dir.path());
    QVERIFY(took.elapsed() < 2000);
    QCOMPARE(found.records.size(), 1u);
    QCOMPARE(found.records[0].pupil, QStringLiteral("Anna"));
    QCOMPARE(found.skipped.size(), 1u);
    QCOMPARE(found.skipped[0].path, path);
    QCOMPARE(found.skipped[0].reason, reason);
    // Opened directly (a race between listing and reading), it is refused just the same.
    QByteArray bytes;
    if (QFileInfo(path).isFile() || kind == "fifo")
        QCOMPARE(readRegularFile(path, 1 << 20, bytes), reason);

    // The tool returns at once and names it too.
    const ToolRun tool = runTool(CORVANE_RESULTS_EXE, {dir.path()});
    QCOMPARE(tool.status, 1);
    QVERIFY2(tool.err.contains(path + ": " + reason + ", skipped"), qPrintable(tool.err));
    QVERIFY(tool.out.contains("Anna") && !tool.out.contains("Ben"));
    QVERIFY(took.elapsed() < 20000);
}

// A record as the program saves it reads back field for field; its temporary file is no record.
void TestClassResults::writerAndReaderAgree() {
    corvane::ClassRecord saved;
    saved.finished = QDateTime::fromString("2026-12-08T10:15:03+05:30", Qt::ISODate);
    saved.computer = "room 4, desk \"2\"";
    saved.pupil = "Zo\xEB \"Z\", \xA3";
    saved.test = "Shapes";
    saved.testChecksum = corvane::checksumHex("Shapes file");
    saved.rows = {{1, "1,5\r\n2", true, {}}, {2, "no answer", false, {}}};
    saved.score = 1;
    QTemporaryDir dir;
    const QString name = corvane::recordFileName(saved, 0xbadf00d);
    writeFile(dir, name, corvane::recordCsv(saved));
    writeFile(dir, corvane::temporaryName(name), corvane::recordCsv(saved).left(50));

    const FolderRecords found = readRecordsIn(dir.path());
    QCOMPARE(found.skipped.size(), 1u);
    QCOMPARE(found.skipped[0].reason, QStringLiteral("temporary file"));
    QCOMPARE(found.records.size(), 1u);
    const Record& read = found.records[0];
    QCOMPARE(read.finished, saved.finished);
    QCOMPARE(read.finished.offsetFromUtc(), 5 * 3600 + 1800);
    QCOMPARE(read.computer, saved.computer);
    QCOMPARE(read.pupil, QStringLiteral("Zo\u00EB \"Z\", \u00A3"));
    QCOMPARE(read.checksum.toLatin1(), saved.testChecksum);
    QCOMPARE(read.score, 1);
    QCOMPARE(read.questions.size(), 2u);
    QCOMPARE(read.questions[0].answer, QStringLiteral("1,5\r\n2"));
    QVERIFY(read.questions[0].right && !read.questions[1].right);
}

void TestClassResults::summary() {
    const QString other(64, QLatin1Char('b'));
    // Ben's 11:30+02:00 is before his 10:00Z: the latest is decided on UTC.
    const std::vector<TestSummary> tests = summarise({
        made("Ben", "2026-12-08T10:00:00Z", "101"),
        made("Anna", "2026-12-08T09:00:00Z", "111"),
        made("Ben", "2026-12-08T11:30:00+02:00", "111"),
        made("Anna", "2026-12-08T09:05:00Z", "011"),
        made("Cara", "2026-12-08T09:00:00Z", "100", other),
    });
    QCOMPARE(tests.size(), 2u);
    const TestSummary& shapes = tests[0];
    QCOMPARE(shapes.checksum.front(), QLatin1Char('a'));
    QCOMPARE(tests[1].pupilCount(), 1);
    QVERIFY(shapes.title() != tests[1].title());
    QCOMPARE(shapes.pupilCount(), 2);
    QCOMPARE(shapes.pupils[0].name, QStringLiteral("Anna"));
    QCOMPARE(shapes.pupils[0].attemptCount(), 2);
    QCOMPARE(shapes.pupils[0].chosen.score, 2);
    QCOMPARE(shapes.pupils[1].chosen.score, 2); // Ben's 101
    std::vector<std::pair<int, int>> shares;    // number, right: hardest first, ties by number
    for (const QuestionShare& share : shapes.shares)
        shares.emplace_back(share.number, share.right);
    QCOMPARE(shares, (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {3, 2}}));
    QCOMPARE(shareText(2, 3), QStringLiteral("2 of 3 (67%)"));
}

void TestClassResults::csvCells() {
    Record tricky = made("=HYPERLINK(\"x\")", "2026-12-08T10:00:00Z", "10");
    tricky.computer = "room 4, desk 2";
    const std::vector<TestSummary> tests =
        summarise({tricky, made("Al", "2026-12-08T10:00:00Z", "1", QString(64, 'c'))});
    const CsvLines lines = splitCsvLines(csvReport(tests));
    QCOMPARE(lines.error, QString());
    QCOMPARE(lines.lines.size(), 3u);
    QCOMPARE(lines.lines[0].back(), QByteArray("Q2"));
    const CsvLine& row = lines.lines[1];
    QCOMPARE(row[2], QByteArray("'=HYPERLINK(\"x\")"));
    QCOMPARE(row[7], QByteArray("room 4, desk 2"));
    QCOMPARE((CsvLine{row.end() - 2, row.end()}), (CsvLine{"1", "0"}));
    QCOMPARE(lines.lines[2].back(), QByteArray()); // a one-question test leaves Q2 empty
}

void TestClassResults::exitStatuses() {
    QTemporaryDir dir;
    writeFile(dir, "a/20261208-101503_PC1_Anna_Shapes_0badf00d.csv", record("Anna"));
    writeFile(dir, "20261208-101504_PC2_Ben_Shapes_12345678.csv",
              record("Ben", "wrong,B,wrong,No", "0"));
    writeFile(dir, "class.txt", "Anna\nBen\n"); // the class list is no record
    const QString page = dir.filePath("out/class.html");
    QDir().mkpath(dir.filePath("out"));
    const ToolRun pageOnly = runTool(CORVANE_RESULTS_EXE, {"--html", page, dir.path()});
    QCOMPARE(pageOnly.status, 0);
    QCOMPARE(pageOnly.out, QString()); // the page is the output
    const ToolRun best = runTool(CORVANE_RESULTS_EXE, {"--attempt", "best", dir.path()});
    QVERIFY2(best.out.contains("The best attempt of each pupil counts."), qPrintable(best.out));
    QFile html(page);
    QVERIFY(html.open(QIODevice::ReadOnly));
    const QByteArray body = html.readAll();
    QVERIFY(body.contains("<svg") && body.contains("Ben") && !body.contains("<script"));
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files | QDir::Hidden).size(), 1);

    writeFile(dir, ".20261208-101505_PC3_Cara_Shapes_abcdef01.csv.tmp", record("Cara").left(40));
    QString err;
    QCOMPARE(run({"--csv", dir.path()}, &err), 1);
    QVERIFY2(err.contains("Cara_Shapes_abcdef01.csv.tmp: temporary file, skipped"),
             qPrintable(err));

    for (const QStringList& bad : {QStringList{},
                                   {"--bogus", dir.path()},
                                   {"--html"},
                                   {"--html", "--csv", dir.path()},
                                   {"--attempt", "worst", dir.path()},
                                   {"--xlsx"},
                                   {dir.filePath("a/20261208-101503_PC1_Anna_Shapes_0badf00d.csv")},
                                   {dir.path(), dir.path()}}) {
        QCOMPARE(run(bad, &err), 2);
        QVERIFY(err.contains("usage:"));
    }
}

QTEST_GUILESS_MAIN(TestClassResults)
#include "test_class_results.moc"
