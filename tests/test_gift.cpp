// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/gift_import.h"
#include "tools/make/gift_markdown.h"
#include "tools/make/test_source.h"

#include "core/question_store.h"
#include "core/reader.h"
#include "support/test_files.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane::make;
using corvane::testing::runTool;
using corvane::testing::ToolRun;
using corvane::testing::writeFile;

namespace {

// The source lines that one GIFT question makes, without the test's name and front page, or
// "left out: reason" when it is left out.
QString convertOne(const QByteArray& gift) {
    const GiftImport result = importGift(gift.toStdString(), "T");
    if (!result.leftOut.empty())
        return QString::fromStdString("left out: " + result.leftOut.front().reason);
    const std::string& source = result.source;
    const std::size_t first = source.find("\n## ");
    return QString::fromStdString(first == std::string::npos ? source : source.substr(first + 1));
}

} // namespace

class TestGift : public QObject {
    Q_OBJECT

  private slots:
    // Each kind that fits, with the GIFT spellings and texts that must come out the same.
    void questionsThatFit_data() {
        QTest::addColumn<QByteArray>("gift");
        QTest::addColumn<QString>("source");
        QTest::addRow("single choice, feedback dropped")
            << QByteArray("Which?{~1/4#no =1/2#yes ~1/3}")
            << "## Which?\n\n- [ ] 1/4\n- [x] 1/2\n- [ ] 1/3\n";
        QTest::addRow("weights make a multiple choice")
            << QByteArray("Even?{~%50%2 ~%-50%3 ~%50%4}")
            << "## Even?\n\n- [x] 2\n- [ ] 3\n- [x] 4\n";
        QTest::addRow("thirds add up to 100")
            << QByteArray("Odd?{~%33.333%1 ~%33.333%3 ~%33.333%5 ~2}")
            << "## Odd?\n\n- [x] 1\n- [x] 3\n- [x] 5\n- [ ] 2\n";
        QTest::addRow("TRUE") << QByteArray("3/6 = 1/2?{TRUE}") << "## 3/6 = 1/2?\n\nAnswer: yes\n";
        QTest::addRow("f with feedback")
            << QByteArray("7 is even.{f#It is odd.#Right}") << "## 7 is even.\n\nAnswer: no\n";
        QTest::addRow("words that mark the same")
            << QByteArray("Spell 40.{=forty =For ty =FORTY}") << "## Spell 40.\n\nWord: forty\n";
        QTest::addRow("short answer ignores a nought-percent answer")
            << QByteArray("Spell 40.{=forty =%0%fourty}") << "## Spell 40.\n\nWord: forty\n";
        QTest::addRow("number") << QByteArray("3 x 415?{#1245}") << "## 3 x 415?\n\nNumber: 1245\n";
        QTest::addRow("number as a pupil writes it")
            << QByteArray("Q{#=+007.50:0}") << "## Q\n\nNumber: 7.5\n";
        QTest::addRow("negative number") << QByteArray("Q{#-0.5}") << "## Q\n\nNumber: -0.5\n";
        QTest::addRow("one digit is a word") << QByteArray("3+4?{#7}") << "## 3+4?\n\nWord: 7\n";
        QTest::addRow("missing word") << QByteArray("Half of 8 is {=4} exactly.")
                                      << "## Half of 8 is \\_\\_\\_\\_\\_ exactly.\n\nWord: 4\n";
        QTest::addRow("missing word before a full stop")
            << QByteArray("{=4} is half of 8.") << "## \\_\\_\\_\\_\\_ is half of 8.\n\nWord: 4\n";
        QTest::addRow("missing word at the end")
            << QByteArray("Half of 8 is {=4}.") << "## Half of 8 is \\_\\_\\_\\_\\_.\n\nWord: 4\n";
        QTest::addRow("title and comment line dropped")
            << QByteArray("::Q1::Sum?\n// not this\n{#12}") << "## Sum?\n\nNumber: 12\n";
        QTest::addRow("escapes") << QByteArray("a\\{b\\} \\= \\~ \\# c\\:d?{=x\\=y ~p\\~q}")
                                 << "## a{b} = \\~ \\# c:d?\n\n- [x] x=y\n- [ ] p\\~q\n";
        QTest::addRow("second line keeps its break")
            << QByteArray("Look:\nline one\nline two{T}")
            << "## Look\\:\nline one\\\nline two\n\nAnswer: yes\n";
        QTest::addRow("html loses tags and entities")
            << QByteArray("[html]<p>Is 3 &lt; <b>5</b>?</p><p>Say&nbsp;so.</p>{T}")
            << "## Is 3 \\< 5?\nSay so.\n\nAnswer: yes\n";
        QTest::addRow("markdown stays markdown but cannot start a question")
            << QByteArray("[markdown]**Bold** sum\\n## not a heading\\nWord: no{#12}")
            << "## **Bold** sum\n\\## not a heading\nWord\\: no\n\nNumber: 12\n";
        QTest::addRow("raised and lowered parts kept")
            << QByteArray("[html]Is 10<sup>3</sup> more than H<SUB>2</SUB>O?{T}")
            << "## Is 10<sup>3</sup> more than H<sub>2</sub>O?\n\nAnswer: yes\n";
        QTest::addRow("every entity decoded")
            << QByteArray("&frac12; &deg; &minus; &le; &eacute; &euro; &#x3C0; &Hat; &bogus;{T}")
            << QString::fromUtf8(
                   "## \xC2\xBD \xC2\xB0 \xE2\x88\x92 \xE2\x89\xA4 \xC3\xA9 \xE2\x82\xAC "
                   "\xCF\x80 ^ \\&bogus;\n\nAnswer: yes\n");
        QTest::addRow("formats of answers are not text")
            << QByteArray("Q{=[plain]<b> ~[html]<b>x</b>}") << "## Q\n\n- [x] \\<b\\>\n- [ ] x\n";
        QTest::addRow("typed answer in HTML")
            << QByteArray("[html]Q{=<b>for</b>ty&amp;}") << "## Q\n\nWord: forty&\n";
        QTest::addRow("wrapped question is one sentence")
            << QByteArray("What is the sum\nof 3 and 4?\nThink.{#12}")
            << "## What is the sum of 3 and 4?\nThink.\n\nNumber: 12\n";
        QTest::addRow("maths between $$, its braces escaped")
            << QByteArray("Work out $$5^2$$ and $$\\frac\\{1\\}\\{2\\}$$ of $4.{#25}")
            << "## Work out $5^2$ and $\\frac{1}{2}$ of \\$4.\n\nNumber: 25\n";
        QTest::addRow("maths in options and in HTML")
            << QByteArray(
                   "[html]<p>Same as $$\\frac\\{1\\}\\{2\\}$$?</p>{=$$ \\frac\\{2\\}\\{4\\} $$ "
                   "~$$3 &lt; 4$$}")
            << "## Same as $\\frac{1}{2}$?\n\n- [x] $\\frac{2}{4}$\n- [ ] $3 < 4$\n";
        QTest::addRow("plain text shows Markdown characters")
            << QByteArray("[plain]- 2 * 3 = _6_ [x]{T}")
            << "## \\- 2 \\* 3 = \\_6\\_ \\[x\\]\n\nAnswer: yes\n";
    }
    void questionsThatFit() {
        QFETCH(QByteArray, gift);
        QFETCH(QString, source);
        QCOMPARE(convertOne(gift), source);
    }

    // What corvane-make stores from the converted source: the escapes of the source are read
    // back to the GIFT text's own characters.
    void storedAsMarked_data() {
        QTest::addColumn<QByteArray>("gift");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("answer");
        QTest::addRow("single") << QByteArray("Q{~a =b ~c}") << 1 << "01000" << QByteArray("B");
        QTest::addRow("multiple") << QByteArray("Q{~%50%a ~b ~%50%c}") << 2 << "10100"
                                  << QByteArray();
        QTest::addRow("false") << QByteArray("Q{FALSE}") << 8 << "01000" << QByteArray();
        QTest::addRow("word with signs")
            << QByteArray("Q{=x_y\\\\.z\\#\\=}") << 3 << "00000" << QByteArray("X_Y\\.Z#=");
        QTest::addRow("pound sign") << QByteArray("Q{=\xC2\xA3"
                                                  "5}")
                                    << 3 << "00000"
                                    << QByteArray("\xA3"
                                                  "5");
        QTest::addRow("number") << QByteArray("Q{#-12.50}") << 6 << "00000" << QByteArray("-12.5");
    }
    void storedAsMarked() {
        QFETCH(QByteArray, gift);
        QFETCH(int, type);
        QFETCH(QString, key);
        QFETCH(QByteArray, answer);
        const GiftImport result = importGift(gift.toStdString(), "T");
        QCOMPARE(result.made, 1);
        corvane::make::SourceErrors errors;
        const TestSource source = parseSource(QByteArray::fromStdString(result.source), errors);
        QVERIFY(errors.empty());
        QCOMPARE(source.store.questionType[1], type);
        QString stored;
        for (int j = 1; j <= 5; ++j)
            stored += QString::number(source.store.answerKey[1][j]);
        QCOMPARE(stored, key);
        QCOMPARE(QByteArray::fromStdString(source.store.answerText[1]), answer);
    }

    // Each question that no test question fits is left out with its reason.
    void questionsLeftOut_data() {
        QTest::addColumn<QByteArray>("gift");
        QTest::addColumn<QString>("reason");
        QTest::addRow("six options") << QByteArray("Q{=1 ~2 ~3 ~4 ~5 ~6}") << "6 options";
        QTest::addRow("one option") << QByteArray("Q{~%100%1}") << "one option";
        QTest::addRow("no right option") << QByteArray("Q{~1 ~2}") << "none of its options";
        QTest::addRow("part-mark single") << QByteArray("Q{~%50%1 ~2}") << "only 50%";
        QTest::addRow("two full marks") << QByteArray("Q{=1 =2 ~3}") << "one of them the full";
        QTest::addRow("weights short of 100")
            << QByteArray("Q{~%40%1 ~%40%2 ~3}") << "80%, not 100%";
        QTest::addRow("matching") << QByteArray("Q{=a -> 1 =b -> 2}") << "matching";
        QTest::addRow("essay") << QByteArray("Q{}") << "essay";
        QTest::addRow("description") << QByteArray("Just text.") << "no answer block";
        QTest::addRow("range") << QByteArray("Q{#1..5}") << "range";
        QTest::addRow("tolerance") << QByteArray("Q{#3.14:0.01}") << "give or take 0.01";
        QTest::addRow("not a number") << QByteArray("Q{#1e3}") << "not a plain number";
        QTest::addRow("two numbers") << QByteArray("Q{#=12 =12.0}") << "2 numbers";
        QTest::addRow("two words") << QByteArray("Q{=red =blue}") << "2 different answers";
        QTest::addRow("part-mark word")
            << QByteArray("Q{=forty =%50%fourty}") << "part of the mark";
        QTest::addRow("wildcard") << QByteArray("Q{=*teen}") << "wildcard";
        QTest::addRow("untypable") << QByteArray("Q{=\xCF\x80}") << "cannot type";
        QTest::addRow("control character") << QByteArray("Q{=a\xC2\x85"
                                                         "b}")
                                           << "cannot type";
        QTest::addRow("blank answer") << QByteArray("Q{=\xC2\xA0}") << "is empty";
        QTest::addRow("no prefix") << QByteArray("Q{forty}") << "must start with =";
        QTest::addRow("bad weight") << QByteArray("Q{~%x%1 =2}") << "weight of answer 1";
        QTest::addRow("weight over 100") << QByteArray("Q{=1 ~%150%2}") << "weight of answer 2";
        QTest::addRow("weight not finite") << QByteArray("Q{=1 ~%nan%2}") << "weight of answer 2";
        QTest::addRow("open brace") << QByteArray("Q{=1") << "no closing }";
        QTest::addRow("two blocks") << QByteArray("Q{=1} and {=2}") << "more than one";
        QTest::addRow("open title") << QByteArray("::Q{T}") << "no closing ::";
        QTest::addRow("no text") << QByteArray("::Title::{T}") << "no question text";
        QTest::addRow("picture") << QByteArray("<img src=\"a.png\">Q{T}") << "picture";
        QTest::addRow("Markdown picture") << QByteArray("[markdown]Q ![](a.png){T}") << "picture";
        QTest::addRow("picture option") << QByteArray("Q{=<IMG src\\=a.png> ~b}") << "picture";
        QTest::addRow("sound") << QByteArray("Q<audio src\\=a.mp3></audio>{T}")
                               << "a sound (<audio>)";
        QTest::addRow("video option") << QByteArray("Q{=<video> ~b}") << "a video (<video>)";
        QTest::addRow("link to a sound")
            << QByteArray("Listen: <a href\\=\"media/Tune 1.MP3\">the tune</a>{T}")
            << "a link to a sound file";
        QTest::addRow("link to a video option")
            << QByteArray("Q{=<a href\\='clip.webm?x\\=1'>clip</a> ~b}")
            << "a link to a video file";
        QTest::addRow("frame") << QByteArray("Q<iframe src\\=x></iframe>{T}") << "(<iframe>)";
        QTest::addRow("object in Markdown") << QByteArray("[markdown]<object>{T}") << "(<object>)";
        QTest::addRow("script") << QByteArray("Q<script>x()</script>{T}") << "a script";
        QTest::addRow("svg with onload in Markdown")
            << QByteArray("[markdown]Q <svg onload\\=x()></svg>{T}")
            << "holds the attribute onload on <svg>, which a test page may not hold";
        QTest::addRow("toggle event in HTML")
            << QByteArray("[html]Q <details ontoggle\\=x()>d</details>{T}") << "holds <details>";
        QTest::addRow("refresh in Markdown")
            << QByteArray("[markdown]Q <meta http-equiv\\=refresh content\\=0>{T}") << "<meta>";
        QTest::addRow("style sheet link")
            << QByteArray("[html]Q <link rel\\=stylesheet href\\=x>{T}") << "<link>";
        QTest::addRow("style element")
            << QByteArray("[markdown]Q <style>p \\{\\}</style>{T}") << "<style>";
        QTest::addRow("event in an option") << QByteArray("Q{=<b onclick\\=x()>a</b> ~b}")
                                            << "an option holds the attribute onclick on <b>";
        QTest::addRow("link in Markdown")
            << QByteArray("[markdown]Q [x](http://e.org){T}") << "holds a link";
        QTest::addRow("raised typed answer") << QByteArray("Q{=10<sup>3</sup>}") << "raised";
        QTest::addRow("accented typed answer") << QByteArray("Q{=caf&eacute;}") << "accent";
    }
    void questionsLeftOut() {
        QFETCH(QByteArray, gift);
        QFETCH(QString, reason);
        const QString result = convertOne(gift);
        QVERIFY2(result.startsWith("left out: ") && result.contains(reason), qPrintable(result));
    }

    // Line numbers count every line, comments, blank lines and CR LF line ends included, and
    // name the first line of the question; a category line ends a question without a blank line.
    void leftOutQuestionsNameTheirLine() {
        const QByteArray gift =
            "// comment\r\n$CATEGORY: top/Year 5\r\n::A::Q{T}\r\n$CATEGORY: x\r\n"
            "\r\n// before\r\n::B::Q\r\n{}\r\n\n::C::Q{#1..2}\r\rQ{F}";
        const GiftImport result = importGift(gift.toStdString(), "T");
        QCOMPARE(result.made, 2); // A, and the last one
        QCOMPARE(result.leftOut.size(), std::size_t(2));
        QCOMPARE(describe("q.gift", result.leftOut[0]),
                 std::string("q.gift:7: left out (B): it is an essay question ({ } is empty), "
                             "which cannot be marked"));
        QCOMPARE(result.leftOut[1].line, 10);
    }

    // A test holds at most 30 questions: the 31st is named and left out.
    void thirtyQuestionsAtMost() {
        QByteArray gift;
        for (int q = 1; q <= 31; ++q)
            gift += "Q" + QByteArray::number(q) + "{T}\n\n";
        const GiftImport result = importGift(gift.toStdString(), "T");
        QCOMPARE(result.made, 30);
        QCOMPARE(result.leftOut.size(), std::size_t(1));
        QCOMPARE(result.leftOut[0].line, 61);
    }

    // The name line and the front page; a Latin-1 file and a byte-order mark are read as text.
    void nameAndEncoding() {
        const GiftImport result = importGift("\xEF\xBB\xBFQ{T}\n\nCost \xA3"
                                             "3?{T}",
                                             "Year_5 #1");
        QCOMPARE(result.source.substr(0, result.source.find("\n## ")),
                 "# Year\\_5 \\#1\nWelcome! There are 2 questions.\n");
        QVERIFY(result.source.find("## Cost \xC2\xA3"
                                   "3?") != std::string::npos);
        QCOMPARE(giftTestName("/tmp/x.y/Fractions Year 5.gift"), "Fractions Year 5");
    }

    // corvane-make QUIZ.gift: names what it leaves out and makes the rest; --source prints the
    // source and writes nothing; a file of which nothing fits writes nothing either.
    void commandLine() {
        QTemporaryDir dir;
        const QString quiz = writeFile(dir, "quiz.gift", "Q{T}\n\n::E::Essay{}\n");
        const QString noneFits = writeFile(dir, "none.gift", "Essay{}\n");
        auto run = [&dir](const QStringList& args) {
            return runTool(CORVANE_MAKE_EXE, args + QStringList{"--out", dir.filePath("lib")});
        };
        const ToolRun source = run({quiz, "--source"});
        QCOMPARE(source.status, 0);
        QVERIFY2(source.out.startsWith("# quiz\n") &&
                     source.err.contains("quiz.gift:3: left out (E)"),
                 qPrintable(source.out + source.err));
        QVERIFY(!QFileInfo::exists(dir.filePath("lib")));
        QCOMPARE(run({quiz}).status, 0);
        QVERIFY(QFileInfo::exists(dir.filePath("lib/quiz/question1.htm")));
        const ToolRun none = run({noneFits});
        QCOMPARE(none.status, 1);
        QVERIFY2(none.err.contains("no question of this file fits"), qPrintable(none.err));
        QVERIFY(!QFileInfo::exists(dir.filePath("lib/none.txt")));
        QCOMPARE(run({writeFile(dir, "a.md", "# A\n## Q\nWord: a\n"), "--source"}).status, 2);
    }

    // A file's name that cannot name a test is refused with the advice to rename the file.
    void fileNameMustNameATest() {
        std::string report;
        QVERIFY(!giftSourceForMake("/tmp/Sums.txt.gift", "Q{T}", report));
        QVERIFY2(report.find("Rename the file") != std::string::npos, report.c_str());
        report.clear();
        QVERIFY(giftSourceForMake("/tmp/Sums.gift", "Q{T}", report));
    }

    // The shipped sample makes a test of one question of each kind that loads as such.
    void sampleMakesEveryKind() {
        QTemporaryDir dir;
        QCOMPARE(runTool(CORVANE_MAKE_EXE, {CORVANE_GIFT_SAMPLE, "--out", dir.path()}).status, 0);
        corvane::QuestionStore store;
        corvane::readTestFile(dir.filePath("Every Kind.txt").toStdString(), store);
        QList<int> types;
        for (int q = 1; q <= store.questionCount; ++q)
            types << store.questionType[q];
        QCOMPARE(types, QList<int>({1, 2, 8, 8, 3, 6, 3, 6, 1}));
    }

    // Markdown characters are escaped everywhere; list, heading and answer-line starts only at
    // the start of a line.
    void escapeMarkdown_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("escaped");
        QTest::addRow("inline") << "a*b_c`d[e]f<g>h|i~j&k$l!m\\n"
                                << "a\\*b\\_c\\`d\\[e\\]f\\<g\\>h\\|i\\~j\\&k\\$l\\!m\\\\n";
        QTest::addRow("list dash") << "- 3"
                                   << "\\- 3";
        QTest::addRow("plus") << "+3"
                              << "\\+3";
        QTest::addRow("underline") << "==="
                                   << "\\===";
        QTest::addRow("numbered list") << "12. apples"
                                       << "12\\. apples";
        QTest::addRow("numbered list )") << "3) x"
                                         << "3\\) x";
        QTest::addRow("decimal number") << "1.5"
                                        << "1\\.5";
        QTest::addRow("answer line") << "Money: 3"
                                     << "Money\\: 3";
        QTest::addRow("two-word keyword") << "Labelled order: B A"
                                          << "Labelled order\\: B A";
        QTest::addRow("colon after a digit") << "Q3: 7"
                                             << "Q3: 7";
        QTest::addRow("minus inside") << "5 - 3"
                                      << "5 - 3";
    }
    void escapeMarkdown() {
        QFETCH(QString, line);
        QFETCH(QString, escaped);
        QCOMPARE(QString::fromStdString(corvane::make::escapeMarkdown(line.toStdString())),
                 escaped);
    }
};

QTEST_GUILESS_MAIN(TestGift)
#include "test_gift.moc"
