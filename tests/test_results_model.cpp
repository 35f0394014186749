// SPDX-License-Identifier: GPL-3.0-or-later
// The class summary model that corvane-results and the teacher's Results page share: which
// attempt counts, which names are one pupil, the wrong answers, question headings, the HTML
// page's order, and re-marking from stored answers.
#include "support/test_files.h"
#include "tools/results/folder.h"
#include "tools/results/library_tests.h"
#include "tools/results/remark.h"
#include "tools/results/reports.h"
#include "tools/results/summary.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>

using namespace corvane::results;
using corvane::testing::crlfLines;
using corvane::testing::writeFile;

namespace {

const QString kSum(64, QLatin1Char('a'));

// A record of test "Shapes" by `pupil`, finished at `finished`; `answers` as "right:answer"
// pairs, "-" for a wrong answer ("-2" is a wrong 2).
Record made(const QString& pupil, const QString& finished, const QStringList& answers,
            const QString& file = {}) {
    Record r{file.isEmpty() ? pupil + finished : file,
             QDateTime::fromString(finished, Qt::ISODate),
             "PC",
             pupil,
             "Shapes",
             kSum,
             0,
             {}};
    for (const QString& a : answers) {
        const bool right = !a.startsWith(QLatin1Char('-'));
        r.questions.push_back({right, right ? a : a.mid(1)});
        r.score += right ? 1 : 0;
    }
    return r;
}

// A test file of one question: the type's keyword, a comment, then `lines`.
QByteArray oneQuestion(const QString& type, const QStringList& lines) {
    return crlfLines(QStringList{"1", type, "comment"} + lines + QStringList{"----------"});
}

// The cells of the first sheet of an .xlsx file, by reference ("B5"): shared strings resolved,
// numbers as written; a formula cell's value is "=" and its formula.
QHash<QString, QString> xlsxCells(const QString& file) {
    const auto part = [&](const char* name) {
        QProcess unzip;
        unzip.start("unzip", {"-p", file, name});
        unzip.waitForFinished(20000);
        return unzip.readAllStandardOutput();
    };
    QStringList shared;
    QXmlStreamReader strings(part("xl/sharedStrings.xml"));
    while (!strings.atEnd()) {
        strings.readNext();
        if (strings.isStartElement() && strings.name() == QLatin1String("si"))
            shared << QString();
        else if (strings.isStartElement() && strings.name() == QLatin1String("t"))
            shared.last() += strings.readElementText();
    }
    QHash<QString, QString> cells;
    QXmlStreamReader sheet(part("xl/worksheets/sheet1.xml"));
    QString ref, type;
    while (!sheet.atEnd()) {
        sheet.readNext();
        if (!sheet.isStartElement()) continue;
        if (sheet.name() == QLatin1String("c")) {
            ref = sheet.attributes().value("r").toString();
            type = sheet.attributes().value("t").toString();
        } else if (sheet.name() == QLatin1String("f")) {
            cells[ref] = "=" + sheet.readElementText();
        } else if (sheet.name() == QLatin1String("v") && !cells.contains(ref)) {
            const QString v = sheet.readElementText();
            cells[ref] = type == QLatin1String("s") ? shared.value(v.toInt()) : v;
        }
    }
    return cells;
}

} // namespace

class TestResultsModel : public QObject {
    Q_OBJECT

  private slots:
    void attemptChoice_data() {
        QTest::addColumn<AttemptChoice>("choice");
        QTest::addColumn<QString>("file");
        // Scores 1, 2, 2, 0 in the order they finished (the third is earlier on UTC than it
        // reads); the files are named in another order.
        QTest::newRow("latest") << AttemptChoice::Latest << "d";
        QTest::newRow("first") << AttemptChoice::First << "a";
        QTest::newRow("best is the earliest of the best") << AttemptChoice::Best << "c";
    }
    void attemptChoice() {
        QFETCH(AttemptChoice, choice);
        QFETCH(QString, file);
        const std::vector<TestSummary> tests =
            summarise({made("Ben", "2026-12-08T10:00:00Z", {"A", "-B"}, "a"),
                       made("Ben", "2026-12-08T10:20:00Z", {"A", "B"}, "b"),
                       made("Ben", "2026-12-08T11:10:00+01:00", {"A", "B"}, "c"),
                       made("Ben", "2026-12-08T10:30:00Z", {"-C", "-D"}, "d")},
                      choice);
        QCOMPARE(tests.size(), 1u);
        const PupilResult& ben = tests[0].pupils.at(0);
        QCOMPARE(ben.chosen.file, file);
        QCOMPARE(ben.attemptCount(), 4);
        QCOMPARE(ben.attempts.front().file, QStringLiteral("a"));
        QCOMPARE(tests[0].spread[static_cast<std::size_t>(ben.chosen.score)], 1);
    }

    void nameGrouping_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("same");
        QTest::newRow("blanks around") << "Anna"
                                       << "  Anna\t" << true;
        QTest::newRow("runs of blanks") << "Anna  Lee"
                                        << "Anna \t Lee" << true;
        QTest::newRow("letter case") << "anna lee"
                                     << "ANNA LEE" << true;
        QTest::newRow("NFC and NFD")
            << QStringLiteral("Zo\u00EB") << QStringLiteral("Zoe\u0308") << true;
        QTest::newRow("case of accented")
            << QStringLiteral("\u00C9mile") << QStringLiteral("\u00E9mile") << true;
        QTest::newRow("other letters") << "Anna"
                                       << "Anne" << false;
        QTest::newRow("blank inside matters") << "AnnaLee"
                                              << "Anna Lee" << false;
    }
    void nameGrouping() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, same);
        const std::vector<TestSummary> tests =
            summarise({made(first, "2026-12-08T10:00:00Z", {"A"}),
                       made(second, "2026-12-08T10:05:00Z", {"-B"})});
        QCOMPARE(tests[0].pupilCount(), same ? 1 : 2);
        if (same) { // shown as last written, blanks tidied
            QCOMPARE(tests[0].pupils[0].name, second.simplified());
            QCOMPARE(tests[0].pupils[0].attemptCount(), 2);
        }
        // A class list written either way finds the pupil of the first spelling.
        QCOMPARE(missingPupils(tests[0], {second}).isEmpty(), true);
        QCOMPARE(missingPupils(tests[0], {first, "Zed", " zed "}), QStringList{"Zed"});
    }

    void wrongAnswersAndShares() {
        std::vector<Record> records;
        const QStringList q2{"-2", "-2 ", "-1.40", "-2", "-no answer", "-1.40", "3"};
        for (int i = 0; i < q2.size(); ++i)
            records.push_back(made(QStringLiteral("P%1").arg(i), "2026-12-08T10:00:00Z",
                                   {i < 3 ? "-x" : "A", q2[i]}));
        TestSummary test = summarise(records)[0];
        QCOMPARE(test.shares[0].number, 2); // hardest first
        QCOMPARE(test.shares[0].right, 1);
        QCOMPARE(wrongAnswersText(test.shares[0]), QStringLiteral("2 \u00D73, 1.40 \u00D72, "
                                                                  "no answer \u00D71"));
        QCOMPARE(test.shares[1].number, 1);
        QCOMPARE(wrongAnswersText(test.shares[1], 1), QStringLiteral("x \u00D73"));
        QCOMPARE(test.averageText(), QStringLiteral("0.7 of 2 (36%)"));
        QCOMPARE(test.spread, (std::vector<int>{3, 3, 1}));
    }

    void headings_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("heading");
        QTest::newRow("h1") << QByteArray("<title>T</title><h1>How <b>much</b>?</h1>")
                            << "How much?";
        QTest::newRow("first of h1-h3")
            << QByteArray("<div><h3>Three</h3></div><h1>One</h1>") << "Three";
        QTest::newRow("h4 does not count, title then")
            << QByteArray("<html><head><title>Q &ndash; 1</title></head><h4>x</h4></html>")
            << QStringLiteral("Q \u2013 1");
        QTest::newRow("entities and blanks")
            << QByteArray("<h2>\n  &pound;1 &amp;\n 5p </h2>") << QStringLiteral("\u00A31 & 5p");
        QTest::newRow("typeset maths by its spoken form")
            << QByteArray("<h1>What is <span class=\"maths\" role=\"math\" aria-label=\"5&#178;\">"
                          "<span class=\"katex\"><math><msup><mn>5</mn><mn>2</mn></msup></math>"
                          "<span aria-hidden=\"true\">52</span></span></span>?</h1>")
            << QStringLiteral("What is 5\u00B2?");
        QTest::newRow("neither") << QByteArray("<p>Just text</p>") << QString();
        QTest::newRow("not html") << QByteArray("\x00\x01\x02", 3) << QString();
    }
    void headings() {
        QFETCH(QByteArray, page);
        QFETCH(QString, heading);
        QCOMPARE(pageHeading(page), heading);
    }

    void headingsFromTheLibraryByChecksum() {
        QTemporaryDir dir;
        const QByteArray test = oneQuestion("KWORD", {"0", "0", "0", "0", "0", "0", "circle"});
        writeFile(dir, "Shapes.txt", test);
        writeFile(dir, "Shapes/question1.htm", "<h1>Name the shape</h1>");
        const QString sum = QString::fromLatin1(corvane::checksumHex(test));
        Record r = made("Al", "2026-12-08T10:00:00Z", {"circle"});
        r.checksum = sum;
        std::vector<TestSummary> tests = summarise({r, made("Bo", "2026-12-08T10:00:00Z", {"x"})});
        addHeadings(tests, LibraryTests(dir.path()));
        QCOMPARE(tests.size(), 2u);
        const TestSummary& known = tests[0].checksum == sum ? tests[0] : tests[1];
        const TestSummary& other = tests[0].checksum == sum ? tests[1] : tests[0];
        QCOMPARE(known.shares[0].label(), QStringLiteral("Q1 Name the shape"));
        QCOMPARE(other.shares[0].label(), QStringLiteral("Q1")); // no test with its checksum
    }

    // A test corrected in the library keeps showing its old version's question words and test
    // file (for the right answers), from the copy kept when the library held it.
    void versionsKeptAfterCorrection() {
        QTemporaryDir library, kept;
        const QByteArray old = oneQuestion("KWORD", {"0", "0", "0", "0", "0", "0", "circel"});
        const QByteArray fixed = oneQuestion("KWORD", {"0", "0", "0", "0", "0", "0", "circle"});
        const QString oldSum = QString::fromLatin1(corvane::checksumHex(old));
        const QString fixedSum = QString::fromLatin1(corvane::checksumHex(fixed));
        writeFile(library, "Shapes.txt", old);
        writeFile(library, "Shapes/question1.htm", "<h1>Name the shape</h1>");
        QCOMPARE(LibraryTests(library.path(), kept.path()).heading(oldSum, 1), "Name the shape");

        writeFile(library, "Shapes.txt", fixed); // made again, the page reworded
        writeFile(library, "Shapes/question1.htm", "<h1>Which shape is this?</h1>");
        const LibraryTests now(library.path(), kept.path());
        QVERIFY(now.inLibrary(fixedSum) && !now.inLibrary(oldSum));
        QCOMPARE(now.heading(oldSum, 1), QStringLiteral("Name the shape"));
        QCOMPARE(now.heading(fixedSum, 1), QStringLiteral("Which shape is this?"));
        QFile oldFile(now.testFile(oldSum));
        QVERIFY(oldFile.open(QIODevice::ReadOnly));
        QCOMPARE(oldFile.readAll(), old);
        // Without kept versions the old one is simply unknown.
        QCOMPARE(LibraryTests(library.path()).heading(oldSum, 1), QString());
        QCOMPARE(LibraryTests(library.path()).testFile(oldSum), QString());
    }

    void htmlPageOrder() {
        std::vector<TestSummary> tests =
            summarise({made("Al", "2026-12-08T10:00:00Z", {"A", "-<b>"}),
                       made("Bo", "2026-12-08T10:00:00Z", {"A", "C"})});
        tests[0].shares[0].heading = QStringLiteral("Add & take away");
        const QString html = htmlReport(tests);
        const qsizetype chart = html.indexOf(QStringLiteral("<svg"));
        const qsizetype grid = html.indexOf(QStringLiteral("Each pupil's answers"));
        QVERIFY(chart > 0 && grid > chart);
        QVERIFY(html.indexOf(QStringLiteral(">Q2 Add &amp; take away<")) < html.indexOf(">Q1<"));
        QVERIFY(html.contains(QStringLiteral("Class average: 1.5 of 2 (75%)")));
        QVERIFY(html.contains(QStringLiteral("title=\"&lt;b&gt;\" aria-label=\"Q2 wrong: "
                                             "&lt;b&gt;\">\u2717</td>")));
        QVERIFY(!html.contains(QStringLiteral("<b>")));
    }

    void csvByteOrderMark() {
        const std::vector<TestSummary> tests =
            summarise({made("Zo\u00EB", "2026-12-08T10:00:00Z", {"A"})});
        const QByteArray plain = csvReport(tests);
        QVERIFY(plain.startsWith("Test,"));
        QCOMPARE(csvReport(tests, true), "\xEF\xBB\xBF" + plain);
    }

    void remarkEveryKind_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("lines"); // after the comment line
        QTest::addColumn<QString>("answer");    // as the record holds it
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("fits");
        const QStringList single{"3", "0", "1", "0", "0", "0", "B"};
        QTest::newRow("single right") << "KSINGLECHOICE" << single << "B" << true << true;
        QTest::newRow("single wrong") << "KSINGLECHOICE" << single << "A" << false << true;
        QTest::newRow("single unanswered")
            << "KSINGLECHOICE" << single << "no answer" << false << true;
        QTest::newRow("single, no such option")
            << "KSINGLECHOICE" << single << "D" << false << false;
        // A letter too many: the right one alone would count; the answer is not this question's.
        QTest::newRow("single, a letter too many")
            << "KSINGLECHOICE" << single << "B D" << false << false;
        const QStringList multi{"4", "1", "0", "1", "0", "0", "AC"};
        QTest::newRow("multi right") << "KMULTICHOICE" << multi << "A C" << true << true;
        QTest::newRow("multi one short") << "KMULTICHOICE" << multi << "A" << false << true;
        const QStringList yesNo{"2", "0", "1", "0", "0", "0", "No"};
        QTest::newRow("yes/no right") << "KYESNO" << yesNo << "No" << true << true;
        QTest::newRow("yes/no wrong") << "KYESNO" << yesNo << "Yes" << false << true;
        QTest::newRow("yes/no, other text") << "KYESNO" << yesNo << "Maybe" << false << false;
        const QStringList order{"3", "3", "1", "2", "0", "0", "CAB"};
        QTest::newRow("order right") << "KORDER" << order << "C A B" << true << true;
        QTest::newRow("order wrong") << "KORDER" << order << "A B C" << false << true;
        QTest::newRow("order, a place empty") << "KORDER" << order << "?A B" << false << true;
        QTest::newRow("order, no such label") << "KORDER" << order << "A B F" << false << false;
        const QStringList user{"3",  "2", "1",  "3", "0", "0", "",
                               "12", "5", "30", "",  "",  "1", "Smallest:"};
        QTest::newRow("own labels right")
            << "KORDERUSER" << user << "Smallest: 5 12 30" << true << true;
        QTest::newRow("own labels wrong")
            << "KORDERUSER" << user << "Smallest: 12 5 30" << false << true;
        const QStringList none{"0", "0", "0", "0", "0", "0"};
        QTest::newRow("word") << "KWORD" << none + QStringList{"circle"} << "Circle " << true
                              << true;
        QTest::newRow("word wrong")
            << "KWORD" << none + QStringList{"circle"} << "square" << false << true;
        QTest::newRow("money") << "KCURRENCY" << none + QStringList{"1.45"}
                               << QStringLiteral("\u00A31.45") << true << true;
        QTest::newRow("number") << "KCOMMA" << none + QStringList{"1000"} << "1000" << true << true;
        QTest::newRow("time") << "KTIME" << none + QStringList{"3:45"} << "3:45" << true << true;
        QTest::newRow("time wrong")
            << "KTIME" << none + QStringList{"3:45"} << "4:45" << false << true;
        QTest::newRow("pair") << "KMULTIENTRY" << none + QStringList{"3,4"} << "3,4" << true
                              << true;
        const QStringList alternatives = none + QStringList{"1,2", "3", "1,2", "2,4", "3,6"};
        QTest::newRow("pairs") << "KMULTIENTRYMULTI" << alternatives << "2,4" << true << true;
        QTest::newRow("pairs wrong")
            << "KMULTIENTRYMULTI" << alternatives << "5,6" << false << true;
        QTest::newRow("typed, beyond Latin-1") << "KWORD" << none + QStringList{"circle"}
                                               << QStringLiteral("\u4E00") << false << false;
    }
    void remarkEveryKind() {
        QFETCH(QString, type);
        QFETCH(QStringList, lines);
        QFETCH(QString, answer);
        QFETCH(bool, right);
        QFETCH(bool, fits);
        QTemporaryDir dir;
        const QString file = writeFile(dir, "Fixed.txt", oneQuestion(type, lines));
        // The old verdict is the opposite, as a wrong key would have given it.
        Record old = made("Al", "2026-12-08T10:00:00+01:00", {right ? "-" + answer : answer});
        const Remark remark = remarkRecords({old}, file);
        QCOMPARE(remark.error, QString());
        QCOMPARE(remark.records.size(), 1u);
        const Remarked& r = remark.records[0];
        QVERIFY(r.marked);
        QCOMPARE(r.after.questions.at(0).right, right);
        QCOMPARE(r.after.score, right ? 1 : 0);
        QCOMPARE(r.after.questions[0].answer, answer);
        QCOMPARE(r.problem.isEmpty(), fits);
        QCOMPARE(r.before.questions[0].right, !right);
        QCOMPARE(r.after.checksum,
                 QString::fromLatin1(corvane::checksumHex(oneQuestion(type, lines))));
        QCOMPARE(r.after.finished, old.finished);
    }

    void remarkRefusals() {
        QTemporaryDir dir;
        const QString file =
            writeFile(dir, "Fixed.txt", oneQuestion("KWORD", {"0", "0", "0", "0", "0", "0", "a"}));
        const Remark remark = remarkRecords({made("Al", "2026-12-08T10:00:00Z", {"a", "b"})}, file);
        QVERIFY(!remark.records.at(0).marked);
        QVERIFY(remark.records[0].problem.contains("2 questions where the corrected test has 1"));
        QVERIFY(!remarkRecords({}, dir.filePath("missing.txt")).error.isEmpty());
        const QString broken = writeFile(dir, "Broken.txt", "two\r\nKWORD\r\n");
        QVERIFY(remarkRecords({}, broken).error.contains("not a test file"));
    }

    // A record with the same pupil, test, time and answers as another is one attempt, whatever
    // its file is called or where it lies; the copy is named as skipped.
    void copiesCountOnce_data() {
        QTest::addColumn<QString>("file");     // the second record's file
        QTest::addColumn<QString>("pupil");    // its pupil
        QTest::addColumn<QString>("finished"); // its finishing time
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>(
            "copyOf"); // the file reported as the copy's original; empty: no copy
        const QString at = QStringLiteral("2026-12-08T10:00:00Z");
        QTest::newRow("backup in a sub-folder")
            << "r/backup-9dec/a.csv"
            << "Ben" << at << QStringList{"A", "-B"} << "r/a.csv";
        QTest::newRow("(copy) beside it, shorter path kept")
            << "r/a (copy).csv"
            << "Ben" << at << QStringList{"A", "-B"} << "r/a.csv";
        QTest::newRow("name written otherwise")
            << "r/b.csv"
            << " BEN " << at << QStringList{"A", "-B"} << "r/a.csv";
        QTest::newRow("same time on another clock")
            << "r/b.csv"
            << "Ben"
            << "2026-12-08T11:00:00+01:00" << QStringList{"A", "-B"} << "r/a.csv";
        QTest::newRow("another answer is another attempt")
            << "r/b.csv"
            << "Ben" << at << QStringList{"A", "-C"} << "";
        QTest::newRow("another time is another attempt")
            << "r/b.csv"
            << "Ben"
            << "2026-12-08T10:00:01Z" << QStringList{"A", "-B"} << "";
        QTest::newRow("another pupil") << "r/b.csv"
                                       << "Bea" << at << QStringList{"A", "-B"} << "";
    }
    void copiesCountOnce() {
        QFETCH(QString, file);
        QFETCH(QString, pupil);
        QFETCH(QString, finished);
        QFETCH(QStringList, answers);
        QFETCH(QString, copyOf);
        // The copy first: which record is kept must not depend on the order they were read.
        std::vector<Record> records{made(pupil, finished, answers, file),
                                    made("Ben", "2026-12-08T10:00:00Z", {"A", "-B"}, "r/a.csv")};
        const std::vector<Skipped> copies = removeCopies(records);
        const std::vector<TestSummary> tests = summarise(records);
        int attempts = 0;
        for (const PupilResult& p : tests.at(0).pupils)
            attempts += p.attemptCount();
        if (copyOf.isEmpty()) {
            QVERIFY(copies.empty());
            QCOMPARE(attempts, 2);
            return;
        }
        QCOMPARE(copies.size(), 1u);
        QCOMPARE(copies[0].path, file);
        QCOMPARE(copies[0].reason, "a copy of " + copyOf);
        QCOMPARE(attempts, 1);
        QCOMPARE(records.at(0).file, copyOf);
    }

    // Two versions of a test of one name are two entries, each with its own records, told
    // apart by the library and by when they were first used.
    void versionsOfOneName_data() {
        QTest::addColumn<bool>("newInLibrary");
        QTest::addColumn<QString>("oldLabel");
        QTest::addColumn<QString>("newLabel");
        QTest::newRow("the new one in the library")
            << true << "earlier version, first used 12 Nov 2025"
            << "in the library now";
        QTest::newRow("neither in the library")
            << false << "earlier version, first used 12 Nov 2025"
            << "not in the library, first used 9 Dec 2025";
    }
    void versionsOfOneName() {
        QFETCH(bool, newInLibrary);
        QFETCH(QString, oldLabel);
        QFETCH(QString, newLabel);
        QTemporaryDir dir;
        const QByteArray fixed = oneQuestion("KWORD", {"0", "0", "0", "0", "0", "0", "circle"});
        if (newInLibrary) writeFile(dir, "Shapes.txt", fixed);
        const QString newSum = QString::fromLatin1(corvane::checksumHex(fixed));
        std::vector<Record> records;
        for (const char* pupil : {"Al", "Bo", "Cy"})
            records.push_back(made(pupil, "2025-11-12T09:00:00Z", {"-circle"}));
        Record fresh = made("Al", "2025-12-09T09:00:00Z", {"circle"});
        fresh.checksum = newSum;
        records.push_back(fresh);
        std::vector<TestSummary> tests = summarise(records);
        addHeadings(tests, LibraryTests(dir.path()));
        QCOMPARE(tests.size(), 2u);
        QCOMPARE(tests[0].checksum, kSum); // first used first
        QCOMPARE(tests[0].pupilCount(), 3);
        QCOMPARE(tests[0].pupils[0].chosen.score, 0);
        QCOMPARE(tests[1].pupilCount(), 1);
        QCOMPARE(tests[1].pupils[0].chosen.score, 1);
        QCOMPARE(tests[0].version, oldLabel);
        QCOMPARE(tests[1].version, newLabel);
        QVERIFY(tests[0].key() != tests[1].key());
        QVERIFY(tests[0].displayName().endsWith(oldLabel));
        // A test of one version needs no label.
        std::vector<TestSummary> one = summarise({fresh});
        addHeadings(one, LibraryTests(dir.path()));
        QCOMPARE(one[0].version, QString());
    }

    void pupilOrderFoldsCaseAndAccents() {
        QStringList names{"zed", QStringLiteral("\u00C9mile"), "Emma", "eve", "Adam", "emil"};
        std::sort(names.begin(), names.end(), nameBefore);
        QCOMPARE(names,
                 (QStringList{"Adam", "emil", QStringLiteral("\u00C9mile"), "Emma", "eve", "zed"}));
    }

    void terminalText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("title and clear screen") << QStringLiteral("Zo\u00EB\x1b]0;x\x07\x1b[2J")
                                                << QStringLiteral("Zo\u00EB\\x1b]0;x\\x07\\x1b[2J");
        QTest::newRow("C1 introducer")
            << QStringLiteral("a\u009b2Jb") << QStringLiteral("a\\x9b2Jb");
        QTest::newRow("line breaks and tabs")
            << QStringLiteral("a\r\nb\tc") << QStringLiteral("a\\r\\nb\\tc");
        QTest::newRow("plain text untouched") << QStringLiteral("1,5 \u00A3 \u00D7 \u2713")
                                              << QStringLiteral("1,5 \u00A3 \u00D7 \u2713");
    }
    void terminalText() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(printable(text), shown);
        const std::vector<TestSummary> tests =
            summarise({made(text, "2026-12-08T10:00:00Z", {"-" + text})});
        const QString report = textReport(tests);
        QVERIFY(report.contains(shown));
        for (const QChar c : report)
            QVERIFY(c == QLatin1Char('\n') || (c >= QLatin1Char(' ') && c != QChar(0x7f) &&
                                               (c.unicode() < 0x80 || c.unicode() >= 0xa0)));
    }

    // The spreadsheet holds names and accents as written, scores as numbers, no formula even
    // for a name that looks like one, and says which attempt counted; a real spreadsheet program
    // reads it the same way.
    void spreadsheetReadBack() {
        QTemporaryDir dir;
        const QString file = dir.filePath("class.xlsx");
        Record zoe =
            made(QStringLiteral("Zo\u00EB \u00C9lise"), "2026-12-08T10:00:00Z", {"A", "-B"});
        zoe.computer = QStringLiteral("Salle 3, poste \u00E9");
        const std::vector<TestSummary> tests =
            summarise({zoe, made("=1+2", "2026-12-08T10:05:00Z", {"-A", "-B"}),
                       made("=1+2", "2026-12-08T10:01:00Z", {"A", "B"})},
                      AttemptChoice::Best);
        QCOMPARE(writeXlsxReport(file, tests, AttemptChoice::Best), QString());
        QVERIFY(!QFileInfo::exists(dir.filePath(".class.xlsx.tmp")));
        const QHash<QString, QString> cells = xlsxCells(file);
        QCOMPARE(cells.value("A2"), QStringLiteral("The best attempt of each pupil counts."));
        QCOMPARE(cells.value("D4"), QStringLiteral("Pupil"));
        QCOMPARE(cells.value("D5"), QStringLiteral("=1+2")); // a string cell, not a formula
        QCOMPARE(cells.value("F5"), QStringLiteral("2"));    // the best attempt, as a number
        QCOMPARE(cells.value("H5"), QStringLiteral("2"));    // attempts
        QCOMPARE(cells.value("D6"), zoe.pupil);
        QCOMPARE(cells.value("I6"), zoe.computer);
        QCOMPARE(cells.value("J6"), QStringLiteral("1"));
        QCOMPARE(cells.value("K6"), QStringLiteral("0"));
        for (auto cell = cells.cbegin(); cell != cells.cend(); ++cell)
            QVERIFY2(!cell.value().startsWith('=') || cell.key() == "D5", qPrintable(cell.key()));

        const QString office = QStandardPaths::findExecutable("soffice");
        if (office.isEmpty())
            QSKIP("LibreOffice is not installed: the real-client read is left out");
        QProcess convert;
        convert.setWorkingDirectory(dir.path());
        convert.start(office,
                      {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless",
                       "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76", "--outdir",
                       dir.path(), file});
        QVERIFY(convert.waitForFinished(120000));
        QFile csv(dir.filePath("class.csv"));
        QVERIFY2(csv.open(QIODevice::ReadOnly), convert.readAllStandardError().constData());
        const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n');
        QVERIFY(lines.value(1).startsWith("The best attempt of each pupil counts."));
        QVERIFY2(lines.value(4).contains(",=1+2,"), qPrintable(lines.value(4)));
        QVERIFY2(
            lines.value(5).contains(QStringLiteral(",Zo\u00EB \u00C9lise,2026-12-08 10:00,1,2,1,")),
            qPrintable(lines.value(5)));
        QVERIFY(lines.value(5).contains(QStringLiteral("\"Salle 3, poste \u00E9\",1,0")));
    }

    void classListFile() {
        QCOMPARE(classListNames("\xEF\xBB\xBF"
                                "Anna\r\n\r\n# absent today\n  Ben  Lee \nZo\xC3\xAB"),
                 (QStringList{"Anna", "Ben Lee", QStringLiteral("Zo\u00EB")}));
    }
};

QTEST_GUILESS_MAIN(TestResultsModel)
#include "test_results_model.moc"
