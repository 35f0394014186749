// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's window without a window: the problems of a source, the Insert menu's questions,
// the source written from a test, and the library list.
#include "core/reader.h"
#include "support/test_files.h"
#include "teacher/crash_copy.h"
#include "teacher/library_entries.h"
#include "teacher/question_templates.h"
#include "teacher/source_check.h"
#include "tools/check/dump.h"
#include "tools/check/library_checks.h"
#include "tools/make/from_test.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocumentFragment>

using namespace corvane;
using namespace corvane::teacher;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray dumpOf(const QString& testFile) {
    bool loaded = false;
    const QByteArray json = check::dumpTestFile(check::nativePath(testFile), loaded);
    return loaded ? json : QByteArray();
}

// A page's content as the pupil reads it, blanks between tags and runs of blanks ignored.
QString shown(QString html) {
    return html.replace(QRegularExpression(QStringLiteral(">\\s+")), QStringLiteral(">"))
        .replace(QRegularExpression(QStringLiteral("\\s+<")), QStringLiteral("<"))
        .simplified();
}

QString plain(const QString& html) {
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

// The part of a page that the source written from it keeps as HTML: <main> without the
// question number and the heading, which making the source puts back.
QString keptContent(const QString& page) {
    static const QRegularExpression main(QStringLiteral("<main[^>]*>(.*)</main>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression dropped(
        QStringLiteral("<p class=\"number\">.*?</p>|<h1>.*?</h1>|<p class=\"go\">.*?</p>"),
        QRegularExpression::DotMatchesEverythingOption);
    return shown(main.match(page).captured(1).remove(dropped));
}

// A source of 30 questions that cycles through the eleven kinds.
QByteArray thirtyQuestions() {
    QByteArray source = "# Thirty\nThirty questions of every kind.\n\n";
    for (int q = 0; q < 30; ++q) {
        const QuestionTemplate& kind = questionTemplates()[q % questionTemplates().size()];
        source += kind.source.toUtf8() + "\n";
    }
    return source;
}

QByteArray messages(const make::SourceErrors& errors) {
    return make::formatErrors(QStringLiteral("source"), errors).toUtf8();
}

make::MakeResult makeInto(const QByteArray& source, const QString& library) {
    return make::makeTest({source, QStringLiteral("source"), library, library, true});
}

} // namespace

class TestTeacherModel : public QObject {
    Q_OBJECT
  private slots:
    // The problems the editor lists are corvane-make's, each on its line; a good source is
    // made into the scratch library for the preview.
    void problemsOfSource_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("says");
        QTest::addRow("good") << QByteArray("# T\n\n## Spell 40.\nWord: forty\n") << 0 << "";
        QTest::addRow("no name") << QByteArray("\n\nJust text\n") << 3 << "the test's name";
        QTest::addRow("no answer")
            << QByteArray("# T\n\n## What is 2 + 2?\n") << 3 << "has no answer";
        QTest::addRow("none right")
            << QByteArray("# T\n## Pick\n- [ ] 1\n- [ ] 2\n") << 3 << "No option is marked right";
        QTest::addRow("six options")
            << QByteArray("# T\n## Pick\n- [x] 1\n- [ ] 2\n- [ ] 3\n- [ ] 4\n- [ ] 5\n- [ ] 6\n")
            << 8 << "2 to 5 options";
        QTest::addRow("text after answer")
            << QByteArray("# T\n## Q\nWord: ten\nMore text\n") << 4 << "Text follows";
        QTest::addRow("bad order") << QByteArray("# T\n## Q\n- 5\n- 7\n\nOrder: 7, 9\n") << 6
                                   << "names \"9\", which is not one";
        QTest::addRow("money") << QByteArray("# T\n## Q\nMoney: lots\n") << 3 << "amount";
    }
    void problemsOfSource() {
        QFETCH(QByteArray, source);
        QFETCH(int, line);
        QFETCH(QString, says);
        QTemporaryDir scratch;
        const SourceCheck check = checkSource(source, scratch.path(), scratch.path());
        if (line == 0) {
            QVERIFY2(check.problems.empty(), messages(check.problems));
            QVERIFY(QFile::exists(check.testFile));
            QCOMPARE(check.questionLines, std::vector<int>{3});
            return;
        }
        QVERIFY(!check.problems.empty());
        QCOMPARE(check.problems.front().line, line);
        QVERIFY2(check.problems.front().message.contains(says),
                 qPrintable(check.problems.front().message));
        QVERIFY(!check.problems.front().fix.isEmpty());
        QVERIFY(check.testFile.isEmpty());
        QVERIFY(QDir(scratch.path()).entryList({"*.txt"}).isEmpty());
    }

    // The preview shows the question whose part of the source holds the cursor.
    void questionAtLine_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("question");
        QTest::addRow("name") << 1 << 0;
        QTest::addRow("front text") << 3 << 0;
        QTest::addRow("first heading") << 5 << 1;
        QTest::addRow("first answer") << 8 << 1;
        QTest::addRow("last heading") << 12 << 3;
        QTest::addRow("after the end") << 400 << 3;
    }
    void questionAtLine() {
        QFETCH(int, line);
        QFETCH(int, question);
        QCOMPARE(teacher::questionAtLine({5, 9, 12}, line), question);
    }

    // Each question of the Insert menu makes a question of its own kind, without a mistake,
    // whether it stands alone or after another.
    void insertTemplates_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("type");
        const int types[] = {KSINGLECHOICE, KMULTICHOICE, KYESNO,          KORDER,
                             KORDERUSER,    KWORD,        KCURRENCY,       KCOMMA,
                             KTIME,         KMULTIENTRY,  KMULTIENTRYMULTI};
        QCOMPARE(questionTemplates().size(), std::size(types));
        for (int i = 0; i < static_cast<int>(std::size(types)); ++i)
            QTest::addRow("%s", qPrintable(QString(questionTemplates()[i].title).remove('&')))
                << i << types[i];
    }
    void insertTemplates() {
        QFETCH(int, index);
        QFETCH(int, type);
        QTemporaryDir scratch;
        const QByteArray question = questionTemplates()[index].source.toUtf8();
        const make::MakeResult made =
            makeInto("# Kinds\n\n## Spell 40.\nWord: forty\n\n" + question, scratch.path());
        QVERIFY2(made.errors.empty(), messages(made.errors));
        QuestionStore store;
        readTestFile(check::nativePath(made.testFile), store);
        QCOMPARE(store.questionCount, 2);
        QCOMPARE(store.questionType[2], type);
    }

    // A source written from a test makes it again: the same fields as corvane-check --dump
    // prints them, and pages that show what the test's pages showed.
    void sourceFromTestRoundTrip_data() {
        QTest::addColumn<QString>("testFile");
        for (const char* name : {"Money and Time", "Number Puzzles", "Shapes and Numbers"})
            QTest::addRow("%s", name)
                << QStringLiteral(CORVANE_SAMPLE_TESTS "/%1.txt").arg(QString::fromLatin1(name));
        QTest::addRow("thirty questions") << QString();
    }
    void sourceFromTestRoundTrip() {
        QFETCH(QString, testFile);
        QTemporaryDir first;
        if (testFile.isEmpty()) {
            const make::MakeResult made = makeInto(thirtyQuestions(), first.path());
            QVERIFY(made.errors.empty());
            testFile = made.testFile;
        }
        const make::SourceFromTest source = make::sourceFromTest(check::nativePath(testFile));
        QVERIFY2(source.notes.isEmpty(), qPrintable(source.notes.join('\n')));

        QTemporaryDir again;
        const make::MakeResult made = makeInto(source.source, again.path());
        QVERIFY2(made.errors.empty(), messages(made.errors));
        QCOMPARE(dumpOf(made.testFile), dumpOf(testFile));
        QVERIFY(check::checkTestFile(check::nativePath(made.testFile)).empty());

        const QString pages =
            QFileInfo(testFile).path() + "/" + QFileInfo(testFile).completeBaseName();
        for (const QString& page : QDir(pages).entryList({"*.htm"})) {
            const QString before = QString::fromUtf8(readAll(pages + "/" + page));
            const QString after = shown(QString::fromUtf8(readAll(made.pageFolder + "/" + page)));
            // Lettered cards come back from the options or items, after the rest of the page:
            // each letter with its content, in a row of cards or in listed options with the
            // row of their letters alone under them.
            QString kept = keptContent(before);
            static const QRegularExpression cards(QStringLiteral(
                "(?:<div class=\"(?:picture|choices|options)\">(?:<div class=\"card[^\"]*\"><span "
                "class=\"letter\">[A-E]</span>.*?</div>)+</div>)+"));
            static const QRegularExpression card(
                QStringLiteral("<span class=\"letter\">[A-E]</span>(?!</div>).*?</div>"));
            const QString cardsBlock = cards.match(kept).captured(0);
            kept.remove(cardsBlock);
            QVERIFY2(after.contains(kept), qPrintable(page));
            for (const QRegularExpressionMatch& one : card.globalMatch(cardsBlock))
                QVERIFY2(after.contains(one.captured(0)),
                         qPrintable(page + ": " + one.captured(0)));
            QCOMPARE(after.count(card), shown(before).count(card));
            static const QRegularExpression heading(QStringLiteral("<h1>(.*?)</h1>"));
            QCOMPARE(plain(heading.match(after).captured(1)),
                     plain(heading.match(before).captured(1)));
        }
    }

    // A test that the source cannot hold is named in the notes, not silently changed.
    void sourceFromTestNotes() {
        QTemporaryDir dir;
        // A multiple choice with one right option reads back as a single choice.
        const QString test = testing::writeFile(
            dir, "Odd.txt",
            testing::crlfLines({"1", "KMULTICHOICE", "c", "3", "1", "0", "0", "0", "0", "", "--"}));
        const make::SourceFromTest source = make::sourceFromTest(check::nativePath(test));
        QVERIFY(source.notes.join('\n').contains("Question 1: making this source gives other"));
        QVERIFY(source.notes.join('\n').contains("front page"));
        QVERIFY_THROWS_EXCEPTION(std::exception,
                                 make::sourceFromTest(check::nativePath(dir.filePath("None.txt"))));
    }

    // corvane-make --from-test prints the same source on standard output.
    void fromTestCommand_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        const QString sample = QStringLiteral(CORVANE_SAMPLE_TESTS "/Money and Time.txt");
        QTest::addRow("a test") << QStringList{"--from-test", sample} << 0;
        QTest::addRow("no such test") << QStringList{"--from-test", "/nonexistent/X.txt"} << 1;
        QTest::addRow("no test named") << QStringList{"--from-test"} << 2;
        QTest::addRow("two tests") << QStringList{"--from-test", sample, sample} << 2;
    }
    void fromTestCommand() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        const testing::ToolRun run = testing::runTool(CORVANE_MAKE_EXE, arguments);
        QCOMPARE(run.status, status);
        if (status == 0)
            QCOMPARE(run.out.toUtf8(),
                     make::sourceFromTest(check::nativePath(arguments[1])).source);
        else
            QVERIFY(!run.err.isEmpty());
    }

    // The library list: the checker's verdict, the first error's text, the source, the count.
    void libraryEntries() {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("test");
        const QString library = dir.filePath("test");
        QVERIFY(makeInto("# Good\n\n## Spell 40.\nWord: forty\n", library).errors.empty());
        QVERIFY(QFile::copy(QStringLiteral(CORVANE_CHECKER_FIXTURES "/bad_number.txt"),
                            library + "/Broken.txt"));
        testing::writeFile(dir, "source/Good.md", "# Good\n");
        const std::vector<LibraryEntry> entries =
            teacher::libraryEntries(library, dir.filePath("source"));
        QCOMPARE(entries.size(), std::size_t{2});
        QCOMPARE(entries[0].name, QStringLiteral("Broken"));
        QVERIFY(entries[0].hasErrors);
        QCOMPARE(entries[0].state, QStringLiteral("1 error"));
        QVERIFY(!entries[0].firstProblem.isEmpty());
        QCOMPARE(entries[0].questionCount, -1);
        QVERIFY(entries[0].sourceFile.isEmpty());
        QCOMPARE(entries[1].name, QStringLiteral("Good"));
        QCOMPARE(entries[1].state, QStringLiteral("OK"));
        QCOMPARE(entries[1].questionCount, 1);
        QCOMPARE(entries[1].sourceFile, dir.filePath("source/Good.md"));
    }

    void crashCopy() {
        QTemporaryDir dir;
        const CrashCopy copy(dir.path());
        QVERIFY(!copy.find());
        QVERIFY(copy.write("# T\n£", "/somewhere/T.md"));
        const std::optional<CrashCopy::Kept> kept = copy.find();
        QVERIFY(kept);
        QCOMPARE(kept->text, QString::fromUtf8("# T\n£"));
        QCOMPARE(kept->sourcePath, QStringLiteral("/somewhere/T.md"));
        copy.remove();
        QVERIFY(!copy.find());
    }
};

QTEST_MAIN(TestTeacherModel)
#include "test_teacher_model.moc"
