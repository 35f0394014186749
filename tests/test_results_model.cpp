// SPDX-License-Identifier: GPL-3.0-or-later
// The class summary model that corvane-results and the teacher's Results page share: which
// attempt counts, which names are one pupil, the wrong answers, question headings, the HTML
// page's order, and re-marking from stored answers.
#include "support/test_files.h"
#include "tools/results/library_tests.h"
#include "tools/results/remark.h"
#include "tools/results/reports.h"
#include "tools/results/summary.h"

#include <QTest>

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

    void classListFile() {
        QCOMPARE(classListNames("\xEF\xBB\xBF"
                                "Anna\r\n\r\n# absent today\n  Ben  Lee \nZo\xC3\xAB"),
                 (QStringList{"Anna", "Ben Lee", QStringLiteral("Zo\u00EB")}));
    }
};

QTEST_GUILESS_MAIN(TestResultsModel)
#include "test_results_model.moc"
