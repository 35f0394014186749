// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/marking_rules.h"
#include "core/reader.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace corvane;
using corvane::testing::crlfLines;
using corvane::testing::writeFile;

namespace {

// clang-format off
const QStringList kWorkedExample{
    "3",
    "KSINGLECHOICE", "Which shape has four equal sides?", "4", "0", "0", "1", "0", "0", "C", "----------",
    "KORDERUSER", "Put the numbers in order", "3", "2", "1", "3", "0", "0", "", "12", "5", "30", "", "", "1", "Smallest:", "----------",
    "KMULTIENTRYMULTI", "A fraction equal to one half", "0", "0", "0", "0", "0", "0", "1,2", "3", "1,2", "2,4", "3,6", "----------",
};
// clang-format on

QByteArray joined(const QStringList& lines, const QByteArray& lineEnd) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + lineEnd;
    return bytes;
}

// One question of type `typeLine` with option count 2, keys 1 0 0 0 0 and answer line "ANS";
// the file ends there, so any extra lines of the type read as empty.
QByteArray oneQuestion(const QByteArray& typeLine) {
    return "1\r\n" + typeLine + "\r\ncomment\r\n2\r\n1\r\n0\r\n0\r\n0\r\n0\r\nANS\r\n";
}

// A plain KWORD block whose answer line is `answer`.
QStringList wordBlock(const QString& answer) {
    return {"KWORD", "comment", "0", "0", "0", "0", "0", "0", answer, "---"};
}

// The bundled sample library in the source tree.
QString sampleLibraryPath() {
    return QStringLiteral(CORVANE_SAMPLE_TESTS);
}

class ReaderFixture {
  public:
    // Reads `bytes` as a test file into `store`; returns the error message, empty on success.
    QString read(const QByteArray& bytes, QuestionStore& store) {
        return readPath(writeFile(dir_, QStringLiteral("Test.txt"), bytes), store);
    }

    static QString readPath(const QString& path, QuestionStore& store) {
        try {
            readTestFile(path.toStdString(), store);
        } catch (const AppError& error) {
            return QString::fromLatin1(error.what());
        }
        return {};
    }

    QTemporaryDir dir_;
};

// Lowers the limit of open files to nothing while alive.
class NoFreeFiles {
  public:
    NoFreeFiles() {
        getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit none = saved_;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_NOFILE, &none);
    }
    ~NoFreeFiles() { setrlimit(RLIMIT_NOFILE, &saved_); }

  private:
    rlimit saved_{};
};

} // namespace

class TestReader : public QObject {
    Q_OBJECT

  private slots:
    void workedExample_data();
    void workedExample();
    void typeKeyword_data();
    void typeKeyword();
    void unknownTypeReadsBlockWithoutExtras();
    void questionCount_data();
    void questionCount();
    void countAboveThirtyStoresThirty();
    void alternativeCount();
    void elevenAlternativesStoreTen();
    void integerLine_data();
    void integerLine();
    void endOfFile_data();
    void endOfFile();
    void byteOrderMarkFails();
    void missingClosingLineShiftsGrammar();
    void orderAfterOrderUserClearsFixedItem();
    void fieldsAboveCountKept();
    void failedReadKeepsEarlierFields();
    void openErrors_data();
    void openErrors();
    void sampleTest_data();
    void sampleTest();
    void sampleLibrary();
};

void TestReader::workedExample_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("CR LF") << joined(kWorkedExample, "\r\n");
    QTest::addRow("bare CR") << joined(kWorkedExample, "\r");
    QTest::addRow("bare LF") << joined(kWorkedExample, "\n");
    QTest::addRow("no line end after the last line") << joined(kWorkedExample, "\r\n").chopped(2);
    // The reader takes the file 4096 bytes at a time: a long closing line puts the CR of its line
    // end at byte 4095 and the LF at byte 4096, in the next read, just before a type line.
    QStringList longClosing = kWorkedExample;
    longClosing[10] = QString(4095 - joined(kWorkedExample.mid(0, 10), "\r\n").size(), '-');
    const QByteArray split = joined(longClosing, "\r\n");
    QCOMPARE(split.mid(4095, 2), QByteArray("\r\n"));
    QTest::addRow("CR LF split between two reads") << split;
}

void TestReader::workedExample() {
    QFETCH(QByteArray, bytes);
    ReaderFixture fixture;
    QuestionStore store;
    store.userMarks[1][3] = 1;
    store.userText[1] = "kept";
    QCOMPARE(fixture.read(bytes, store), QString());

    QCOMPARE(store.questionCount, 3);
    QCOMPARE(store.questionType[1], KSINGLECHOICE);
    QCOMPARE(store.optionCount[1], 4);
    const int keys1[] = {0, 0, 1, 0, 0};
    for (int j = 1; j <= 5; ++j)
        QCOMPARE(store.answerKey[1][j], keys1[j - 1]);
    QCOMPARE(store.userMarks[1][3], 0);
    QCOMPARE(store.userText[1], Text("kept")); // answers are reset by the caller
    QCOMPARE(store.answerText[1], Text("C"));
    QCOMPARE(store.fixedItemPos[1], 0);

    QCOMPARE(store.questionType[2], KORDERUSER);
    QCOMPARE(store.optionCount[2], 3);
    const int keys2[] = {2, 1, 3, 0, 0};
    for (int j = 1; j <= 5; ++j)
        QCOMPARE(store.answerKey[2][j], keys2[j - 1]);
    QCOMPARE(store.answerText[2], Text());
    const char* labels[] = {"", "12", "5", "30", "", ""};
    for (int j = 0; j <= 5; ++j)
        QCOMPARE(store.optionLabel[2][j], Text(labels[j]));
    QCOMPARE(store.fixedItemPos[2], 1);
    QCOMPARE(store.fixedItemText[2], Text("Smallest:"));

    QCOMPARE(store.questionType[3], KMULTIENTRYMULTI);
    QCOMPARE(store.optionCount[3], 0);
    QCOMPARE(store.answerText[3], Text("1,2"));
    QCOMPARE(store.altCount[3], 3);
    QCOMPARE(store.altText[3][1], Text("1,2"));
    QCOMPARE(store.altText[3][2], Text("2,4"));
    QCOMPARE(store.altText[3][3], Text("3,6"));
    QCOMPARE(store.altText[3][4], Text());
    QCOMPARE(store.fixedItemText[3], Text());
}

void TestReader::typeKeyword_data() {
    QTest::addColumn<QByteArray>("typeLine");
    QTest::addColumn<int>("code");
    const char* keywords[] = {"KSINGLECHOICE", "KMULTICHOICE", "KWORD",           "KORDER",
                              "KCURRENCY",     "KCOMMA",       "KTIME",           "KYESNO",
                              "KORDERUSER",    "KMULTIENTRY",  "KMULTIENTRYMULTI"};
    for (int code = 1; code <= 11; ++code)
        QTest::addRow("%s", keywords[code - 1]) << QByteArray(keywords[code - 1]) << code;
    QTest::addRow("lower case") << QByteArray("kmultichoice") << int(KMULTICHOICE);
    QTest::addRow("mixed case") << QByteArray("KMultiChoice") << int(KMULTICHOICE);
    QTest::addRow("blank in front") << QByteArray(" KMULTICHOICE") << int(KNOTYPE);
    QTest::addRow("blank behind") << QByteArray("KMULTICHOICE ") << int(KNOTYPE);
    QTest::addRow("tab behind") << QByteArray("KWORD\t") << int(KNOTYPE);
    QTest::addRow("empty") << QByteArray() << int(KNOTYPE);
    QTest::addRow("accented letter not folded") << QByteArray("kword\xe9") << int(KNOTYPE);
}

// Every row starts from a store whose question 1 was a money question: an unknown type line
// must not leave that type behind.
void TestReader::typeKeyword() {
    QFETCH(QByteArray, typeLine);
    QFETCH(int, code);
    ReaderFixture fixture;
    QuestionStore store;
    store.questionType[1] = KCURRENCY;
    QCOMPARE(fixture.read(oneQuestion(typeLine), store), QString());
    QCOMPARE(store.questionType[1], code);
    QCOMPARE(store.optionCount[1], 2);
    QCOMPARE(store.answerKey[1][1], 1);
    QCOMPARE(store.answerText[1], Text("ANS"));
}

// Question 2 was an order question with labels; an unknown type line there gives no type and
// its block has no extra lines, so question 3 is read from the line after the closing line.
void TestReader::unknownTypeReadsBlockWithoutExtras() {
    ReaderFixture fixture;
    QuestionStore store;
    QCOMPARE(fixture.read(joined(kWorkedExample, "\r\n"), store), QString());
    QStringList lines{"3"};
    lines << wordBlock("FIRST");
    lines << "KORDERUSERS"
          << "comment"
          << "3"
          << "2"
          << "1"
          << "3"
          << "0"
          << "0"
          << ""
          << "---";
    lines << wordBlock("THIRD");
    QCOMPARE(fixture.read(crlfLines(lines), store), QString());
    QCOMPARE(store.questionType[2], KNOTYPE);
    QCOMPARE(store.optionCount[2], 3);
    QCOMPARE(store.fixedItemPos[2], 0);
    QCOMPARE(store.fixedItemText[2], Text());
    QCOMPARE(store.optionLabel[2][1], Text("12"));
    QCOMPARE(store.questionType[3], KWORD);
    QCOMPARE(store.answerText[3], Text("THIRD"));
}

void TestReader::questionCount_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::addRow("zero") << QByteArray("0\r\nKWORD\r\n") << 0;
    QTest::addRow("negative") << QByteArray("-3\r\nKWORD\r\n") << -3;
    QTest::addRow("empty file") << QByteArray() << 0;
    QTest::addRow("blanks only") << QByteArray(" \r\n\t\r\n") << 0;
}

void TestReader::questionCount() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    ReaderFixture fixture;
    QuestionStore store;
    store.questionType[1] = KWORD;
    QCOMPARE(fixture.read(bytes, store), QString());
    QCOMPARE(store.questionCount, count);
    QCOMPARE(store.questionType[1], KWORD);
}

void TestReader::countAboveThirtyStoresThirty() {
    QStringList lines{"31"};
    for (int q = 1; q <= 31; ++q)
        lines << wordBlock(QString("A%1").arg(q));
    ReaderFixture fixture;
    QuestionStore store;
    QCOMPARE(fixture.read(crlfLines(lines), store), QString("Range check error"));
    QCOMPARE(store.questionCount, 31);
    for (int q = 1; q <= 30; ++q) {
        QCOMPARE(store.questionType[q], KWORD);
        QCOMPARE(store.answerText[q], QString("A%1").arg(q).toStdString());
    }
}

// A count of 0 reads no alternative: the next line closes the block.
void TestReader::alternativeCount() {
    QStringList lines{"2",  "KMULTIENTRYMULTI", "c", "0", "0", "0", "0", "0", "0", "3,2", "0",
                      "---"};
    lines << wordBlock("SECOND");
    ReaderFixture fixture;
    QuestionStore store;
    store.altText[1][1] = "old";
    QCOMPARE(fixture.read(crlfLines(lines), store), QString());
    QCOMPARE(store.altCount[1], 0);
    QCOMPARE(store.altText[1][1], Text("old"));
    QCOMPARE(store.questionType[2], KWORD);
    QCOMPARE(store.answerText[2], Text("SECOND"));
}

void TestReader::elevenAlternativesStoreTen() {
    QStringList lines{"1", "KMULTIENTRYMULTI", "c", "0", "0", "0", "0", "0", "0", "1,2", "11"};
    for (int i = 1; i <= 11; ++i)
        lines << QString("%1,%2").arg(i).arg(2 * i);
    lines << "---";
    ReaderFixture fixture;
    QuestionStore store;
    QCOMPARE(fixture.read(crlfLines(lines), store), QString("Range check error"));
    QCOMPARE(store.altCount[1], 11);
    for (int i = 1; i <= 10; ++i)
        QCOMPARE(store.altText[1][i], QString("%1,%2").arg(i).arg(2 * i).toStdString());
}

void TestReader::integerLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    const QByteArray digits32(31, '0');
    QTest::addRow("decimal") << QByteArray("4") << true << 4;
    QTest::addRow("trailing letter") << QByteArray("4x") << false << 0;
    QTest::addRow("dollar hex") << QByteArray("$1F") << true << 31;
    QTest::addRow("0x hex") << QByteArray("0x1f") << true << 31;
    QTest::addRow("X hex") << QByteArray("X1f") << true << 31;
    QTest::addRow("hex bit pattern") << QByteArray("$FFFFFFFF") << true << -1;
    QTest::addRow("hex above 32 bits") << QByteArray("$100000000") << false << 0;
    QTest::addRow("prefix without digits") << QByteArray("0x") << false << 0;
    QTest::addRow("sign then hex") << QByteArray("-$10") << false << 0;
    QTest::addRow("minus") << QByteArray("-5") << true << -5;
    QTest::addRow("plus") << QByteArray("+7") << true << 7;
    QTest::addRow("sign alone") << QByteArray("-") << false << 0;
    QTest::addRow("largest") << QByteArray("2147483647") << true << 2147483647;
    QTest::addRow("smallest") << QByteArray("-2147483648") << true << int(-2147483648LL);
    QTest::addRow("overflow") << QByteArray("2147483648") << false << 0;
    QTest::addRow("far overflow") << QByteArray("99999999999999999999") << false << 0;
    QTest::addRow("text after the number") << QByteArray("4 options\tA-D") << true << 4;
    QTest::addRow("blanks in front") << QByteArray(" \t 4") << true << 4;
    QTest::addRow("blank lines in front") << QByteArray("\r\n\r\n4") << true << 4;
    QTest::addRow("bare LF lines in front") << QByteArray("\n\n4") << true << 4;
    QTest::addRow("32-byte token") << digits32 + "4" << true << 4;
    QTest::addRow("33-byte token") << digits32 + "04" << false << 0;
    QTest::addRow("long garbage") << QByteArray(5000, 'z') << false << 0;
}

// The option-count line of question 1 holds `line`; the next integer line must be the first key.
void TestReader::integerLine() {
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const QByteArray bytes =
        "1\r\nKSINGLECHOICE\r\nc\r\n" + line + "\r\n7\r\n0\r\n0\r\n0\r\n0\r\nANS\r\n---\r\n";
    ReaderFixture fixture;
    QuestionStore store;
    const QString error = fixture.read(bytes, store);
    QCOMPARE(store.questionType[1], KSINGLECHOICE);
    if (!valid) {
        QCOMPARE(error, QString("Invalid numeric input"));
        QCOMPARE(store.optionCount[1], 0);
        return;
    }
    QCOMPARE(error, QString());
    QCOMPARE(store.optionCount[1], value);
    QCOMPARE(store.answerKey[1][1], 7);
    QCOMPARE(store.answerText[1], Text("ANS"));
}

// A file cut short and a file with Ctrl-Z at the same place read alike: texts after the end
// are empty and integers 0.
void TestReader::endOfFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray head = "2\r\nKWORD\r\ncomment\r\n3\r\n4\r\n";
    const QByteArray tail = "5\r\n6\r\n7\r\n8\r\nANS\r\n---\r\nKWORD\r\nc\r\n0\r\n";
    QTest::addRow("cut") << head;
    QTest::addRow("ctrl-z between lines") << head + '\x1a' + tail;
    QTest::addRow("ctrl-z ends a number") << head.chopped(2) +
                                                 "\x1a"
                                                 "9\r\n" +
                                                 tail;
}

void TestReader::endOfFile() {
    QFETCH(QByteArray, bytes);
    ReaderFixture fixture;
    QuestionStore store;
    store.questionType[2] = KTIME;
    store.answerText[2] = "old";
    store.answerKey[1][2] = 9;
    QCOMPARE(fixture.read(bytes, store), QString());
    QCOMPARE(store.questionCount, 2);
    QCOMPARE(store.questionType[1], KWORD);
    QCOMPARE(store.optionCount[1], 3);
    QCOMPARE(store.answerKey[1][1], 4);
    QCOMPARE(store.answerKey[1][2], 0);
    QCOMPARE(store.answerText[1], Text());
    QCOMPARE(store.questionType[2], KNOTYPE);
    QCOMPARE(store.answerText[2], Text());
}

void TestReader::byteOrderMarkFails() {
    ReaderFixture fixture;
    QuestionStore store;
    QCOMPARE(fixture.read("\xef\xbb\xbf" + joined(kWorkedExample, "\r\n"), store),
             QString("Invalid numeric input"));
    QCOMPARE(store.questionCount, 0);
}

// Without its closing line, question 1 takes question 2's type line as its closing line.
void TestReader::missingClosingLineShiftsGrammar() {
    QStringList lines{"2"};
    lines << wordBlock("FIRST").mid(0, 9) << "KYESNO"
          << "comment"
          << "2"
          << "1"
          << "0"
          << "0"
          << "0"
          << "0"
          << ""
          << "---";
    ReaderFixture fixture;
    QuestionStore store;
    QCOMPARE(fixture.read(crlfLines(lines), store), QString("Invalid numeric input"));
    QCOMPARE(store.answerText[1], Text("FIRST"));
    QCOMPARE(store.questionType[2], KNOTYPE); // "comment" taken as the type line
    QCOMPARE(store.optionCount[2], 1);        // the first key line taken as the option count
}

void TestReader::orderAfterOrderUserClearsFixedItem() {
    ReaderFixture fixture;
    QuestionStore store;
    QCOMPARE(fixture.read(joined(kWorkedExample, "\r\n"), store), QString());
    QStringList lines{"2"};
    lines << wordBlock("FIRST");
    lines << "KORDER"
          << "order"
          << "3"
          << "3"
          << "1"
          << "2"
          << "0"
          << "0"
          << ""
          << "---";
    QCOMPARE(fixture.read(crlfLines(lines), store), QString());
    QCOMPARE(store.questionType[2], KORDER);
    QCOMPARE(store.fixedItemPos[2], 0);
    QCOMPARE(store.fixedItemText[2], Text());
    const char* letters[] = {"", "A", "B", "C", "D", "E"};
    for (int j = 0; j <= 5; ++j)
        QCOMPARE(store.optionLabel[2][j], Text(letters[j]));
}

void TestReader::fieldsAboveCountKept() {
    ReaderFixture fixture;
    QuestionStore store;
    QCOMPARE(fixture.read(joined(kWorkedExample, "\r\n"), store), QString());
    QCOMPARE(fixture.read(crlfLines(QStringList{"1"} + wordBlock("ONLY")), store), QString());
    QCOMPARE(store.questionCount, 1);
    QCOMPARE(store.questionType[1], KWORD);
    QCOMPARE(store.questionType[2], KORDERUSER);
    QCOMPARE(store.fixedItemText[2], Text("Smallest:"));
    QCOMPARE(store.altText[3][2], Text("2,4"));
}

void TestReader::failedReadKeepsEarlierFields() {
    QStringList lines{"2"};
    lines << wordBlock("FIRST") << "KTIME"
          << "c"
          << "1"
          << "1"
          << "oops";
    ReaderFixture fixture;
    QuestionStore store;
    store.answerKey[2][2] = 5;
    QCOMPARE(fixture.read(crlfLines(lines), store), QString("Invalid numeric input"));
    QCOMPARE(store.answerText[1], Text("FIRST"));
    QCOMPARE(store.questionType[2], KTIME);
    QCOMPARE(store.answerKey[2][1], 1);
    QCOMPARE(store.answerKey[2][2], 5);
}

void TestReader::openErrors_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message");
    QTest::addRow("missing file") << "missing file"
                                  << "File not found";
    QTest::addRow("missing folder") << "missing folder"
                                    << "Invalid filename";
    QTest::addRow("file used as folder") << "file as folder"
                                         << "Invalid filename";
    QTest::addRow("folder opened as file") << "folder"
                                           << "File access denied";
    QTest::addRow("unreadable file") << "unreadable"
                                     << "File access denied";
    // Neither may hang the program: the open of a pipe waits for a writer, /dev/zero never ends.
    QTest::addRow("named pipe") << "pipe"
                                << "File access denied";
    QTest::addRow("endless device") << "device"
                                    << "File access denied";
    QTest::addRow("too many open files") << "no free files"
                                         << "Too many open files";
}

void TestReader::openErrors() {
    QFETCH(QString, setup);
    QFETCH(QString, message);
    ReaderFixture fixture;
    const QString existing = writeFile(fixture.dir_, "Shapes.txt", "0\r\n");
    QString path = fixture.dir_.filePath("Missing.txt");
    if (setup == "missing folder") path = fixture.dir_.filePath("nofolder/Shapes.txt");
    if (setup == "file as folder") path = existing + "/Shapes.txt";
    if (setup == "folder") path = fixture.dir_.path();
    if (setup == "pipe") {
        path = fixture.dir_.filePath("Pipe.txt");
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    if (setup == "device") path = "/dev/zero";
    if (setup == "unreadable" || setup == "no free files") path = existing;
    if (setup == "unreadable") {
        if (geteuid() == 0) QSKIP("root reads files whatever their permissions");
        QVERIFY(QFile::setPermissions(existing, QFileDevice::Permissions()));
    }
    QuestionStore store;
    store.questionCount = 4;
    QString error;
    if (setup == "no free files") {
        NoFreeFiles limit;
        error = ReaderFixture::readPath(path, store);
    } else {
        error = ReaderFixture::readPath(path, store);
    }
    QCOMPARE(error, message);
    QCOMPARE(store.questionCount, 4);
}

// Every bundled test reads cleanly, has its pages, and each question can be answered right
// (a typed answer line written in a form that marking never produces could not be).
void TestReader::sampleTest_data() {
    QTest::addColumn<QString>("path");
    const QDir library(sampleLibraryPath());
    for (const QString& name : library.entryList({"*.txt"}, QDir::Files))
        QTest::addRow("%s", qPrintable(name)) << library.filePath(name);
}

void TestReader::sampleTest() {
    QFETCH(QString, path);
    QuestionStore store;
    QCOMPARE(ReaderFixture::readPath(path, store), QString());
    QVERIFY(store.questionCount >= 1 && store.questionCount <= 30);
    const QDir pages(path.chopped(4));
    QVERIFY(pages.exists("front.htm"));
    for (int q = 1; q <= store.questionCount; ++q) {
        QVERIFY2(pages.exists(QString("question%1.htm").arg(q)), qPrintable(QString::number(q)));
        QVERIFY(store.questionType[q] >= KSINGLECHOICE &&
                store.questionType[q] <= KMULTIENTRYMULTI);
        for (int j = 1; j <= kMaxOptions; ++j)
            store.userMarks[q][j] = store.answerKey[q][j];
        store.userText[q] =
            store.questionType[q] == KMULTIENTRYMULTI ? store.altText[q][1] : store.answerText[q];
        QVERIFY2(isQuestionRight(store, q), qPrintable(QString("question %1").arg(q)));
    }
}

void TestReader::sampleLibrary() {
    const QDir library(sampleLibraryPath());
    QSet<int> types;
    for (const QString& name : library.entryList({"*.txt"}, QDir::Files)) {
        QuestionStore store;
        QCOMPARE(ReaderFixture::readPath(library.filePath(name), store), QString());
        for (int q = 1; q <= store.questionCount; ++q)
            types.insert(store.questionType[q]);
    }
    QCOMPARE(types.size(), 11);
    QFile worked(library.filePath("Shapes and Numbers.txt"));
    QVERIFY(worked.open(QIODevice::ReadOnly));
    QCOMPARE(worked.readAll(), joined(kWorkedExample, "\r\n"));
}

QTEST_APPLESS_MAIN(TestReader)
#include "test_reader.moc"
