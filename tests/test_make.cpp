// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/marking_rules.h"
#include "core/page_words.h"
#include "core/read_aloud_mark.h"
#include "core/reader.h"
#include "support/test_files.h"
#include "tools/check/dump.h"
#include "tools/check/library_checks.h"
#include "tools/make/from_test.h"
#include "tools/make/make_test.h"
#include "tools/make/maths_typesetter.h"
#include "tools/make/pages.h"
#include "tools/make/test_source.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace corvane;
using namespace corvane::make;
using corvane::testing::runTool;
using corvane::testing::ToolRun;
using corvane::testing::writeFile;

namespace {

// A source of one question: `lines` after its heading.
QByteArray oneQuestion(const QString& lines) {
    return QStringLiteral("# Test\nFront\n\n## The question\n%1\n").arg(lines).toUtf8();
}

MakeResult makeFrom(const QByteArray& source, const QString& pictures, const QString& out,
                    bool force = false) {
    return makeTest({source, QStringLiteral("test.md"), pictures, out, force});
}

// Every file under `folder` with its bytes, for comparing a library before and after.
QMap<QString, QByteArray> contentsOf(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        files.insert(it.filePath(), file.readAll());
    }
    return files;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestMake : public QObject {
    Q_OBJECT

  private slots:
    // The answer as the teacher writes it is stored so that the pupil's natural typing of it
    // is marked right, and a near miss is not.
    void answersAreReachable_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("right");
        QTest::addRow("money in pounds") << "Money: £1.50" << int(KCURRENCY) << "1.50" << true;
        QTest::addRow("money in pence") << "Money: 65p" << int(KCURRENCY) << "0.65" << true;
        QTest::addRow("pence, typed as pence") << "Money: 65p" << int(KCURRENCY) << "65" << false;
        QTest::addRow("pence above a pound") << "Money: 125p" << int(KCURRENCY) << "1.25" << true;
        QTest::addRow("remainder pair") << "Pair: 4 r 3" << int(KMULTIENTRY) << "4 r 3" << true;
        QTest::addRow("pair, other order") << "Pair: 4 r 3" << int(KMULTIENTRY) << "3 r 4" << false;
        QTest::addRow("third accepted pair")
            << "Pairs: 1/2 or 2/4; 3/6" << int(KMULTIENTRYMULTI) << "3/6" << true;
        QTest::addRow("word in capitals") << "Word: Forty" << int(KWORD) << "forty" << true;
        QTest::addRow("number with comma") << "Number: 1,245" << int(KCOMMA) << "1,245" << true;
        QTest::addRow("number without comma") << "Number: 1,245" << int(KCOMMA) << "1245" << false;
        QTest::addRow("time with point") << "Time: 3:45" << int(KTIME) << "3.45" << true;
        QTest::addRow("whole pounds, typed with pence")
            << "Money: £2" << int(KCURRENCY) << "2.00" << true;
        QTest::addRow("pairs parted by commas")
            << "Pairs: 1/2, 2/4, 3/6" << int(KMULTIENTRYMULTI) << "3/6" << true;
        QTest::addRow("one pair written with a comma")
            << "Pairs: 1,2" << int(KMULTIENTRYMULTI) << "1 r 2" << true;
        QTest::addRow("afternoon time") << "Time: 19.05" << int(KTIME) << "19:05" << true;
    }
    void answersAreReachable() {
        QFETCH(QString, answer);
        QFETCH(int, type);
        QFETCH(QString, typed);
        QFETCH(bool, right);
        SourceErrors errors;
        TestSource source = parseSource(oneQuestion(answer), errors);
        QVERIFY2(errors.empty(), qPrintable(formatErrors("test.md", errors)));
        QCOMPARE(source.store.questionType[1], type);
        source.store.userText[1] = fromQt(typed);
        QCOMPARE(isQuestionRight(source.store, 1), right);
    }

    // Choices and orders: the key the store holds.
    void keys_data() {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<int>>("key");
        QTest::addRow("single") << "- [ ] 1/4\n- [x] 1/2\n- [ ] 1/3" << int(KSINGLECHOICE)
                                << QList<int>{0, 1, 0};
        QTest::addRow("multiple") << "* [X] 9\n* [ ] 14\n* [x] 21" << int(KMULTICHOICE)
                                  << QList<int>{1, 0, 1};
        QTest::addRow("no") << "Answer: NO" << int(KYESNO) << QList<int>{0, 1};
        QTest::addRow("order by letters") << "- 305\n- 53\n- 350\n- 35\n\nOrder: D B A C"
                                          << int(KORDER) << QList<int>{4, 2, 1, 3};
        QTest::addRow("order by texts")
            << "1. 305\n2. 53\n3. 35\nOrder: 35, 53, 305" << int(KORDER) << QList<int>{3, 2, 1};
        QTest::addRow("labelled order") << "- 12\n- 5\n- 30\nLabelled order: 5, [then] 12, 30"
                                        << int(KORDERUSER) << QList<int>{2, 1, 3};
    }
    void keys() {
        QFETCH(QString, lines);
        QFETCH(int, type);
        QFETCH(QList<int>, key);
        SourceErrors errors;
        const TestSource source = parseSource(oneQuestion(lines), errors);
        QVERIFY2(errors.empty(), qPrintable(formatErrors("test.md", errors)));
        QCOMPARE(source.store.questionType[1], type);
        QCOMPARE(source.store.optionCount[1], key.size());
        for (int j = 1; j <= key.size(); ++j)
            QCOMPARE(source.store.answerKey[1][j], key[j - 1]);
        if (type == KORDERUSER) {
            QCOMPARE(source.store.fixedItemPos[1], 2);
            QCOMPARE(source.store.fixedItemText[1], Text("then"));
            QCOMPARE(source.store.optionLabel[1][3], Text("30"));
        }
    }

    // "Read aloud: no" on the front page marks the made test so that the pupil's window offers
    // no reading aloud; the line itself is not shown to the pupil.
    void readAloudMark_data() {
        QTest::addColumn<QByteArray>("front");
        QTest::addColumn<bool>("refused");
        QTest::addRow("no line") << QByteArray("Welcome.\n") << false;
        QTest::addRow("no") << QByteArray("Read aloud: no\nWelcome.\n") << true;
        QTest::addRow("any case, after the text")
            << QByteArray("Welcome.\n\nread ALOUD :  No\n") << true;
        QTest::addRow("yes") << QByteArray("Read aloud: yes\nWelcome.\n") << false;
    }
    void readAloudMark() {
        QFETCH(QByteArray, front);
        QFETCH(bool, refused);
        SourceErrors errors;
        const TestSource source = parseSource("# Sums\n" + front + "## Q\nWord: ten\n", errors);
        QVERIFY2(errors.empty(), qPrintable(formatErrors("test.md", errors)));
        MathsTypesetter maths;
        const auto pages = testPages(source, maths, errors);
        const auto page = std::find_if(pages.begin(), pages.end(),
                                       [](const auto& f) { return f.name == "front.htm"; });
        QVERIFY(page != pages.end());
        QCOMPARE(readAloudRefused(page->bytes), refused);
        const QString words = pageWords(page->bytes).join(' ');
        QVERIFY2(words.contains("Welcome.") && !words.contains("aloud", Qt::CaseInsensitive),
                 qPrintable(words));
    }

    // Each mistake is reported on its line, and nothing is written.
    void errors_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("says");
        const QByteArray six = oneQuestion("- [x] 1\n- [ ] 2\n- [ ] 3\n- [ ] 4\n- [ ] 5\n- [ ] 6");
        QTest::addRow("six options") << six << 10 << "2 to 5 options";
        QTest::addRow("no right option") << oneQuestion("- [ ] 1\n- [ ] 2") << 5 << "No option";
        QTest::addRow("order not of its items") << oneQuestion("- 3\n- 1\n- 2\nOrder: 1, 2, 4") << 8
                                                << "names \"4\", which is not one of the items";
        QTest::addRow("order by letter not of its items")
            << oneQuestion("- 3\n- 1\n- 2\nOrder: B, D, A") << 8 << "names \"D\", which";
        QTest::addRow("order item twice")
            << oneQuestion("- 3\n- 1\nOrder: 1, 1") << 7 << "names \"1\" (item B) twice";
        QTest::addRow("order short of an item")
            << oneQuestion("- 3\n- 1\n- 2\nOrder: 1, 2") << 8 << "names 2 of the 3";
        QTest::addRow("label too long for its button")
            << oneQuestion("- 12\n- 305\nLabelled order: 12, 305") << 6 << "too long";
        QTest::addRow("text after answer")
            << oneQuestion("Word: ten\nMore text") << 6 << "follows the answer line";
        QTest::addRow("no answer") << oneQuestion("Just text") << 4 << "no answer";
        QTest::addRow("yes/no typo") << oneQuestion("Answer: yse") << 5 << "yes or no";
        QTest::addRow("one-digit number") << oneQuestion("Number: 7") << 5 << "Word: 7";
        QTest::addRow("money beyond pence") << oneQuestion("Money: £1.5") << 5 << "amount";
        QTest::addRow("answer beyond Latin-1") << oneQuestion("Word: \u4e09") << 5 << "cannot hold";
        QTest::addRow("pair of one number") << oneQuestion("Pair: 4") << 5 << "two numbers";
        QTest::addRow("missing picture")
            << oneQuestion("![](coins.png)\n\nMoney: £3") << 5 << "does not exist";
        QTest::addRow("picture outside")
            << oneQuestion("Look ![](../x.png)\nMoney: £3") << 5 << "outside";
        QTest::addRow("picture named like a page")
            << oneQuestion("![](question1.htm)\nWord: ten") << 1 << "name of a page";
        QTest::addRow("missing picture in HTML")
            << oneQuestion("<img src=\"gone one.png\">\n\nWord: ten") << 5 << "does not exist";
        QTest::addRow("web picture in HTML")
            << oneQuestion("Look <img alt=x src='http://x.org/a.png'>\nWord: ten") << 5
            << "web address";
        QTest::addRow("web picture")
            << oneQuestion("![](https://x.org/a.png)\nWord: ten") << 5 << "web address";
        QTest::addRow("eleven pairs")
            << oneQuestion("Pairs: 1/1;2/2;3/3;4/4;5/5;6/6;7/7;8/8;9/9;1/2;1/3") << 5
            << "at most 10";
        QTest::addRow("fixed text in a plain order")
            << oneQuestion("- 3\n- 1\nOrder: [First:] 1, 3") << 7 << "labelled order";
        QTest::addRow("empty word") << oneQuestion("Word:  ") << 5 << "empty";
        QTest::addRow("time in words") << oneQuestion("Time: quarter past 7") << 5 << "in digits";
        QTest::addRow("hour past 23") << oneQuestion("Time: 25:10") << 5 << "no hour 25";
        QTest::addRow("minute past 59") << oneQuestion("Time: 7:70") << 5 << "no minute 70";
        QTest::addRow("pm hour past 12") << oneQuestion("Time: 13:10 pm") << 5 << "1 to 12";
        QTest::addRow("pair of three numbers") << oneQuestion("Pair: 1 2/3") << 5 << "two numbers";
        QTest::addRow("pair with a minus between")
            << oneQuestion("Pair: 4 - 3") << 5 << "two numbers";
        QTest::addRow("commas that part nothing clearly")
            << oneQuestion("Pairs: 1,2, 2,4") << 5 << "told apart";
        QTest::addRow("accented word") << oneQuestion("Word: café") << 5 << "without its accent";
        QTest::addRow("word with a sign off the keyboard")
            << oneQuestion("Word: ½") << 5 << "cannot type";
        QTest::addRow("name with .txt")
            << QByteArray("# Sums.TXT\n## Q\nWord: ten\n") << 1 << ".txt";
        QTest::addRow("read aloud neither yes nor no")
            << QByteArray("# Sums\n\nRead aloud: never\n## Q\nWord: ten\n") << 3 << "Read aloud";
        QTest::addRow("no name") << QByteArray("## Question\nWord: ten\n") << 1 << "name";
        QTest::addRow("name not a file name")
            << QByteArray("# Tens/units\n## Q\nWord: ten\n") << 1 << "file name";
        // HTML a page may not hold, each on its line.
        QTest::addRow("script") << oneQuestion("<script>x()</script>\nWord: ten") << 5
                                << "<script>";
        QTest::addRow("event attribute")
            << oneQuestion("Look <span onmouseover=x()>here</span>\nWord: ten") << 5
            << "onmouseover on <span>";
        QTest::addRow("frame of a file")
            << oneQuestion("<iframe src=file:///etc/passwd></iframe>\n\nWord: ten") << 5
            << "<iframe>";
        QTest::addRow("refresh") << oneQuestion("<meta http-equiv=refresh content=0>\n\nWord: ten")
                                 << 5 << "<meta>";
        QTest::addRow("svg image")
            << oneQuestion("<svg><image href=file:///etc/passwd /></svg>\n\nWord: ten") << 5
            << "<image>";
        QTest::addRow("svg paint from a file")
            << oneQuestion("<svg><rect fill=\"url(file:///etc/passwd#p)\" /></svg>\n\nWord: ten")
            << 5 << "fill with url(";
        QTest::addRow("style with url")
            << oneQuestion("A <span style=\"background:URL(file:///etc/passwd)\">b</span>\n"
                           "Word: ten")
            << 5 << "style with url(";
        QTest::addRow("srcset") << oneQuestion(
                                       "A <img src=x.png srcset=file:///etc/passwd>\nWord: ten")
                                << 5 << "srcset";
        QTest::addRow("file picture behind a quoted >")
            << oneQuestion("A <img alt=\">\" src=\"file:///etc/passwd\">\nWord: ten") << 5
            << "not a file beside the source";
        QTest::addRow("script link")
            << oneQuestion("See [this](javascript:alert(1))\nWord: ten") << 5 << "a link";
        QTest::addRow("form further down a block")
            << oneQuestion("Text\n\n<div>\nok\n<form action=x>\n</div>\n\nWord: ten") << 9
            << "<form>";
        QTest::addRow("event in a heading")
            << QByteArray("# T\n## Q <b onclick=x>b</b>\nWord: ten\n") << 2 << "onclick";
        QTest::addRow("event in an option")
            << oneQuestion("- [x] <i onfocus=x>1</i>\n- [ ] 2") << 5 << "onfocus";
        QByteArray many = "# Many\n";
        for (int q = 1; q <= 31; ++q)
            many += "## Q\nWord: ten\n";
        QTest::addRow("31 questions") << many << 62 << "at most 30";
    }
    void errors() {
        QFETCH(QByteArray, source);
        QFETCH(int, line);
        QFETCH(QString, says);
        QTemporaryDir dir;
        writeFile(dir, "question1.htm", "a picture with a page's name");
        const QString out = dir.filePath("library");
        const MakeResult made = makeFrom(source, dir.path(), out);
        QVERIFY(!made.errors.empty());
        const SourceError& first = made.errors.front();
        QVERIFY2(first.line == line && (first.message + first.fix).contains(says),
                 qPrintable(formatErrors("test.md", made.errors)));
        QVERIFY(!first.fix.isEmpty());
        QVERIFY(!QFileInfo::exists(out));
    }

    // Each refused thing is named on its own line, also after one the parser holds open; a
    // drawing passes, its picture does not.
    void everyRefusedThingIsNamed() {
        QTemporaryDir dir;
        const MakeResult made = makeFrom(
            oneQuestion("<script>x()</script>\nText\n<svg><image href=file:///etc/passwd /></svg>"
                        "\n\nWord: ten"),
            dir.path(), dir.filePath("lib"));
        QStringList found;
        for (const SourceError& error : made.errors)
            found << QString::number(error.line) + " " + error.message;
        QCOMPARE(found, QStringList({"5 A test page may not hold <script>.",
                                     "7 A test page may not hold <image>."}));
    }

    // A picture is copied only when its real path, after links, is a plain file inside the
    // source's folder; anything else is an error naming it, and nothing is written.
    void picturesOnlyFromTheSourcesFolder_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("says");
        QTest::addRow("link to a file outside") << "shadowlink.png"
                                                << "through a link";
        QTest::addRow("relative link up") << "uplink.png"
                                          << "through a link";
        QTest::addRow("file in a linked folder") << "etcdir/passwd"
                                                 << "through a link";
        QTest::addRow("a FIFO") << "pipe.png"
                                << "not a plain file";
        QTest::addRow("a folder") << "folder.png"
                                  << "not a plain file";
    }
    void picturesOnlyFromTheSourcesFolder() {
        QFETCH(QString, picture);
        QFETCH(QString, says);
        QTemporaryDir dir;
        writeFile(dir, "secret.png", "secret");
        const QString source = dir.filePath("source");
        QVERIFY(QDir().mkpath(source + "/folder.png"));
        QVERIFY(QFile::link(dir.filePath("secret.png"), source + "/shadowlink.png"));
        QVERIFY(QFile::link("../secret.png", source + "/uplink.png"));
        QVERIFY(QFile::link("/etc", source + "/etcdir"));
        QCOMPARE(::mkfifo(QFile::encodeName(source + "/pipe.png").constData(), 0600), 0);
        const MakeResult made =
            makeFrom(oneQuestion("![](" + picture + ")\n\nWord: ten"), source, dir.filePath("lib"));
        QCOMPARE(made.errors.size(), 1u);
        QVERIFY2(made.errors.front().message.contains("\"" + picture + "\"") &&
                     made.errors.front().message.contains(says),
                 qPrintable(made.errors.front().message));
        QCOMPARE(made.errors.front().line, 5);
        QVERIFY(!QFileInfo::exists(dir.filePath("lib")));
    }

    // Making never removes or replaces what it did not make: a test named as its own source
    // file, or as any file or folder that is not a test, is refused even with force, naming
    // what stands there.
    void neverReplacesWhatItDidNotMake_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("says");
        QTest::addRow("the source's own name") << "Fractions.md"
                                               << "Fractions.md is a file";
        QTest::addRow("a folder of the teacher's") << "Pictures"
                                                   << "Pictures is a folder";
        QTest::addRow("a link") << "Linked"
                                << "Linked is a link";
        QTest::addRow("a folder as test file") << "Odd"
                                               << "Odd.txt is a folder";
    }
    void neverReplacesWhatItDidNotMake() {
        QFETCH(QString, name);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QByteArray source = "# " + name.toUtf8() + "\n## Q\nWord: ten\n";
        writeFile(dir, "Fractions.md", source);
        writeFile(dir, "Pictures/coin.png", "picture");
        QVERIFY(QFile::link(dir.filePath("Pictures"), dir.filePath("Linked")));
        QVERIFY(QDir().mkpath(dir.filePath("Odd.txt")));
        const auto before = contentsOf(dir.path());
        for (const bool force : {false, true}) {
            const MakeResult made = makeFrom(source, dir.path(), dir.path(), force);
            QCOMPARE(made.errors.size(), 1u);
            QVERIFY2(made.errors.front().message.contains(says),
                     qPrintable(made.errors.front().message));
            QCOMPARE(contentsOf(dir.path()), before);
        }
    }

    // An existing test is replaced only with force; a refused make leaves it byte for byte.
    void replacesOnlyWithForce() {
        QTemporaryDir dir;
        writeFile(dir, "my coins.png", "picture");
        const QByteArray first = oneQuestion("![](my%20coins.png)\nMoney: £3");
        QVERIFY(makeFrom(first, dir.path(), dir.filePath("lib")).errors.empty());
        const auto before = contentsOf(dir.filePath("lib"));
        QVERIFY(before.contains(dir.filePath("lib/Test/my coins.png")));

        const QByteArray second = oneQuestion("Word: ten");
        const MakeResult refused = makeFrom(second, dir.path(), dir.filePath("lib"));
        QCOMPARE(refused.errors.size(), 1u);
        QVERIFY(refused.errors.front().fix.contains("--force"));
        QCOMPARE(contentsOf(dir.filePath("lib")), before);

        QVERIFY(makeFrom(second, dir.path(), dir.filePath("lib"), true).errors.empty());
        QuestionStore store;
        readTestFile(dir.filePath("lib/Test.txt").toStdString(), store);
        QCOMPARE(store.questionType[1], int(KWORD));
        QVERIFY(!QFileInfo::exists(dir.filePath("lib/Test/my coins.png")));
        // On the pupils' machines "TEST" would be the same file as "Test".
        const MakeResult clash =
            makeFrom("# TEST\n## Q\nWord: ten\n", dir.path(), dir.filePath("lib"), true);
        QVERIFY(!clash.errors.empty() && clash.errors.front().message.contains("letter case"));
        QCOMPARE(QDir(dir.filePath("lib"))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"Test", "Test.txt"}));
    }

    // Every typed page but a word ends with the form the answer is written in, shown by an
    // example that is never the answer itself.
    void formHints_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("hint");
        QTest::addRow("whole pounds") << "Money: £5"
                                      << "Write pounds and pence, like 3.00.";
        QTest::addRow("pence") << "Money: 35p"
                               << "Write pounds and pence, like 0.45.";
        QTest::addRow("pounds and pence") << "Money: £2.35"
                                          << "Write pounds and pence, like 4.60.";
        QTest::addRow("number with commas") << "Number: 1,295"
                                            << "Write the number like 2,306.";
        QTest::addRow("number without") << "Number: 1295"
                                        << "Write the number like 2306.";
        QTest::addRow("decimal") << "Number: 0.95"
                                 << "Write the number like 0.16.";
        QTest::addRow("time") << "Time: 4.50"
                              << "Write the time like 7:25.";
        QTest::addRow("time with pm") << "Time: 4:50 PM"
                                      << "Write the time with am or pm, like 7:25 am.";
        QTest::addRow("remainder") << "Pair: 6 r 2"
                                   << "Write the two numbers like 5 r 1.";
        QTest::addRow("examples taken") << "Pairs: 2/5 or 3/7"
                                        << "Write the two numbers like 4/8.";
        QTest::addRow("fractions") << "Pairs: 1/2 or 2/5"
                                   << "Write the two numbers like 3/7.";
        QTest::addRow("word") << "Word: ten"
                              << "";
    }
    void formHints() {
        QFETCH(QString, answer);
        QFETCH(QString, hint);
        SourceErrors errors;
        const TestSource source = parseSource(oneQuestion(answer), errors);
        QVERIFY2(errors.empty(), qPrintable(formatErrors("test.md", errors)));
        QCOMPARE(source.pages.front().formHint, hint);
        MathsTypesetter maths;
        const QByteArray page = testPages(source, maths, errors).back().bytes;
        const QByteArray last = page.left(page.indexOf("</p>\n  </main>"));
        QVERIFY2(hint.isEmpty() ? !last.contains("<br>") : last.endsWith(hint.toUtf8()), last);
    }

    // A make that cannot write says where and why, and never writes over its own source.
    void refusesToWrite() {
        QTemporaryDir dir;
        const QByteArray source = oneQuestion("Word: ten");
        writeFile(dir, "lib/Test.txt", source);
        const MakeResult over = makeFrom(source, dir.path(), dir.filePath("lib"), true);
        QVERIFY(!over.errors.empty() && over.errors.front().message.contains("holds this source"));
        QCOMPARE(readAll(dir.filePath("lib/Test.txt")), source);
        // A source kept in the page folder, with its pictures, would go with the old pages.
        writeFile(dir, "lib/Test/coin.png", "picture");
        const MakeResult inPages = makeFrom(oneQuestion("![](coin.png)\nWord: ten"),
                                            dir.filePath("lib/Test"), dir.filePath("lib"), true);
        QVERIFY(!inPages.errors.empty() &&
                inPages.errors.front().message.contains("the page folder that making"));
        QCOMPARE(readAll(dir.filePath("lib/Test/coin.png")), QByteArray("picture"));

        // Root writes in any folder the permissions forbid; /sys refuses even root.
        const QString locked = geteuid() == 0 ? QStringLiteral("/sys") : dir.filePath("locked");
        QDir().mkpath(dir.filePath("locked"));
        QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
        const MakeResult refused = makeFrom(source, dir.path(), locked);
        QVERIFY(!refused.errors.empty());
        const SourceError& error = refused.errors.front();
        QVERIFY2(error.message.startsWith("cannot write in " + locked + ": ") &&
                     (geteuid() == 0 || error.message.endsWith("permission denied")) &&
                     error.fix.contains("--out"),
                 qPrintable(error.message));
    }

    // A picture's name may hold blanks however it is written, and the picture is copied.
    void picturesWithBlanks_data() {
        QTest::addColumn<QString>("picture");
        QTest::addRow("blanks") << "![coin](coin one.png)";
        QTest::addRow("blanks and a title") << "![coin](coin one.png \"A coin\")";
        QTest::addRow("angle brackets") << "![coin](<coin one.png>)";
        QTest::addRow("percent escape") << "![coin](coin%20one.png)";
        QTest::addRow("HTML") << "<img src=\"coin one.png\" alt=\"coin\">";
        QTest::addRow("HTML with an entity") << "<img src='coin&#32;one.png'>";
    }
    void picturesWithBlanks() {
        QFETCH(QString, picture);
        QTemporaryDir dir;
        writeFile(dir, "coin one.png", "picture");
        const MakeResult made =
            makeFrom(oneQuestion(picture + "\n\nMoney: 5p"), dir.path(), dir.filePath("lib"));
        QVERIFY2(made.errors.empty(), qPrintable(formatErrors("test.md", made.errors)));
        QCOMPARE(readAll(made.pageFolder + "/coin one.png"), QByteArray("picture"));
        const QByteArray page = readAll(made.pageFolder + "/question1.htm");
        QVERIFY2(page.contains("<img src=") && !page.contains("]("), page);
    }

    // A made choice page gives its options back to a source written from the test, whether
    // they stand over the tick boxes or are listed over a row of their letters.
    void sourceFromMadeChoices_data() {
        QTest::addColumn<QString>("options");
        QTest::addRow("over the boxes") << "- [ ] 1/4\n- [x] 1/2\n- [ ] 1/3";
        QTest::addRow("listed") << "- [ ] a rectangle\n- [x] a parallelogram";
    }
    void sourceFromMadeChoices() {
        QFETCH(QString, options);
        QTemporaryDir dir;
        const MakeResult made = makeFrom(oneQuestion(options), dir.path(), dir.path());
        QVERIFY(made.errors.empty());
        const QString source =
            QString::fromUtf8(sourceFromTest(check::nativePath(made.testFile)).source);
        QVERIFY2(source.contains(options) && !source.contains("class=\"card"), qPrintable(source));
    }

    // Each option's text stands on the page next to its own letter.
    void optionsNextToTheirLetters() {
        QTemporaryDir dir;
        const MakeResult made =
            makeFrom(oneQuestion("- [ ] *one* half\n- [x] 2/4\n- [ ] 3/4"), dir.path(), dir.path());
        QVERIFY(made.errors.empty());
        const QByteArray page = readAll(made.pageFolder + "/question1.htm");
        for (const char* card : {"<span class=\"letter\">A</span><em>one</em> half</div>",
                                 "<span class=\"letter\">B</span>2/4</div>",
                                 "<span class=\"letter\">C</span>3/4</div>"})
            QVERIFY2(page.contains(card), card);
    }

    // The command's exit statuses: made (from a source with Windows line ends), mistakes in
    // the source (nothing written), bad use.
    void commandLine() {
        QTemporaryDir dir;
        const QString good = writeFile(dir, "good.md", "# Good\r\n## Q ##\r\nWord: ten\r\n");
        const QString bad = writeFile(dir, "bad.md", "# Bad\n## Q\nAnswer: maybe\n");
        auto run = [&dir](const QStringList& args) {
            return runTool(CORVANE_MAKE_EXE, args + QStringList{"--out", dir.filePath("lib")});
        };
        QCOMPARE(run({good}).status, 0);
        QVERIFY(QFileInfo::exists(dir.filePath("lib/Good/question1.htm")));
        const ToolRun made = run({bad});
        QCOMPARE(made.status, 1);
        QVERIFY2(made.err.contains("bad.md:3:") && made.err.contains("Nothing was written"),
                 qPrintable(made.err));
        QVERIFY(!QFileInfo::exists(dir.filePath("lib/Bad.txt")));
        QCOMPARE(run({good, "--frce"}).status, 2);
        QCOMPARE(run({good}).status, 1);
        QCOMPARE(run({good, "--force"}).status, 0);
    }

    // The sample sources make test files that load to the bundled tests' store, pass every
    // check, and end every line with CR LF.
    void samplesRoundTrip_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"Money and Time", "Number Puzzles", "Shapes and Numbers"})
            QTest::addRow("%s", name) << name;
    }
    void samplesRoundTrip() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString sources = QStringLiteral(CORVANE_SAMPLE_SOURCES);
        const MakeResult made =
            makeFrom(readAll(sources + "/" + name + ".md"), sources, dir.path());
        QVERIFY2(made.errors.empty(), qPrintable(formatErrors(name, made.errors)));
        bool loaded = false;
        const QByteArray bundled = check::dumpTestFile(
            check::nativePath(QStringLiteral(CORVANE_SAMPLE_TESTS) + "/" + name + ".txt"), loaded);
        QVERIFY(loaded);
        QCOMPARE(check::dumpTestFile(check::nativePath(made.testFile), loaded), bundled);
        QVERIFY(check::checkTestFile(check::nativePath(made.testFile)).empty());
        // Every picture a page shows was copied beside it.
        static const QRegularExpression picture(QStringLiteral("<img src=\"([^\"]+)\""));
        for (const QString& page : QDir(made.pageFolder).entryList({"*.htm"})) {
            const QString html = QString::fromUtf8(readAll(made.pageFolder + "/" + page));
            for (const QRegularExpressionMatch& m : picture.globalMatch(html))
                QVERIFY2(QFileInfo::exists(made.pageFolder + "/" + m.captured(1)),
                         qPrintable(page + ": " + m.captured(1)));
        }
        const QByteArray bytes = readAll(made.testFile);
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestMake)
#include "test_make.moc"
