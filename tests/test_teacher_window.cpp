// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's window with the fakes of the desktop: a source is opened, a mistake typed shows
// on its line, the fix clears it, the preview follows the cursor, and Make puts the test in the
// library.
#include "core/reader.h"
#include "platform/web_browser_view.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"
#include "support/test_files.h"
#include "teacher/editor_page.h"
#include "teacher/library_page.h"
#include "teacher/preview.h"
#include "teacher/source_editor.h"
#include "teacher/teacher_window.h"
#include "tools/check/library_checks.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>
#include <QtTest>

using namespace corvane;
using namespace corvane::teacher;

namespace {

QStringList problemRows(const QTreeWidget* problems) {
    QStringList rows;
    for (int i = 0; i < problems->topLevelItemCount(); ++i)
        rows << problems->topLevelItem(i)->text(0) + ": " + problems->topLevelItem(i)->text(1);
    return rows;
}

void typeAtEnd(SourceEditor* editor, const QString& text) {
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
    const QStringList lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, lines[i]);
    }
}

} // namespace

class TestTeacherWindow : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void writeFixAndMake() {
        testing::FakeDesktop desktop;
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("test");
        const QString library = dir.filePath("test");
        const QString source = testing::writeFile(
            dir, "source/Quiz.md", "# Quiz\nTwo questions.\n\n## Spell 40.\nWord: forty\n");

        TeacherWindow window(desktop.seams(), library);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(window.openFile(source));
        EditorPage* page = window.editorPage();
        QTreeWidget* problems = page->problems();
        QTRY_VERIFY(page->lastCheck().questionLines.size() == 1);
        QVERIFY(problemRows(problems).isEmpty());
        QTRY_COMPARE(desktop.browsers.lastUrl("Front"),
                     "file://" + page->preview()->form()->testPageFolder + "/front.htm");

        // A choice with no right option: the problem is listed on its line and marked there.
        typeAtEnd(page->editor(), "\n## Which is more?\n- [ ] 3\n- [ ] 5");
        QTRY_VERIFY2(!problemRows(problems).isEmpty(), "no problem listed");
        QCOMPARE(problemRows(problems).front(), "8: No option is marked right.");
        QCOMPARE(page->editor()->problemLines(), QSet<int>{8});
        // Choosing the problem puts the cursor on its line.
        page->editor()->moveCursor(QTextCursor::Start);
        emit problems->itemActivated(problems->topLevelItem(0), 0);
        QCOMPARE(page->editor()->currentLine(), 8);

        // The fix clears it, and the preview shows the question under the cursor.
        page->editor()->moveCursor(QTextCursor::End);
        for (int i = 0; i < 5; ++i) // "[ ] 5"
            QTest::keyClick(page->editor(), Qt::Key_Backspace);
        QTest::keyClicks(page->editor(), "[x] 5");
        QTRY_VERIFY(problemRows(problems).isEmpty() && page->lastCheck().questionLines.size() == 2);
        QVERIFY(page->editor()->problemLines().isEmpty());
        QTRY_VERIFY(QString::fromStdString(desktop.browsers.lastUrl("Question"))
                        .endsWith("/Quiz/question2.htm"));
        QCOMPARE(page->preview()->shownQuestion(), 2);
        // The preview's answer box does not take the keys the teacher types.
        QCOMPARE(QApplication::focusWidget(), page->editor());

        // Tried as a pupil: the answer given in the preview is checked by the pupil's marking.
        TForm1* form = page->preview()->form();
        form->recordOption(2);
        auto* check = page->preview()->findChild<QPushButton*>("checkAnswer");
        check->click();
        QCOMPARE(form->reviewMode, 1);
        QVERIFY(form->questionRight[2]);
        QCOMPARE(page->preview()->findChild<QLabel*>("previewStatus")->text(),
                 "Right so far: 1 of 2.");
        check->click();
        QCOMPARE(form->reviewMode, 0);
        // The pupil's Quit would end the teacher's program: the preview has none.
        QVERIFY(form->IQuit->isHidden());
        page->editor()->setFocus();
        page->editor()->goToLine(5);
        QCOMPARE(page->preview()->shownQuestion(), 1);

        // Make: the library holds the test, with the choice's right option.
        QVERIFY(!QFile::exists(library + "/Quiz.txt"));
        window.action("make")->trigger();
        QVERIFY2(QFile::exists(library + "/Quiz.txt"),
                 qPrintable(desktop.dialogs.texts("message").join('\n')));
        QuestionStore store;
        readTestFile(check::nativePath(library + "/Quiz.txt"), store);
        QCOMPARE(store.questionCount, 2);
        QCOMPARE(store.questionType[2], KSINGLECHOICE);
        QCOMPARE(store.answerKey[2][2], 1);
        QVERIFY(window.libraryPage()->choose("Quiz"));

        // Made again, the test in the library is replaced only when the teacher says so.
        typeAtEnd(page->editor(), "\n\n## Spell 7.\nWord: seven\n");
        desktop.dialogs.yesAnswers = {false};
        window.action("make")->trigger();
        readTestFile(check::nativePath(library + "/Quiz.txt"), store);
        QCOMPARE(store.questionCount, 2);
        QVERIFY(
            desktop.dialogs.texts("confirm").last().contains("already has a test called \"Quiz\""));
        desktop.dialogs.yesAnswers = {true};
        window.action("make")->trigger();
        readTestFile(check::nativePath(library + "/Quiz.txt"), store);
        QCOMPARE(store.questionCount, 3);

        // With a mistake, Make writes nothing and says why.
        typeAtEnd(page->editor(), "\n## Broken\n");
        window.action("make")->trigger();
        QVERIFY(desktop.dialogs.texts("message").last().startsWith("Nothing was written"));
        readTestFile(check::nativePath(library + "/Quiz.txt"), store);
        QCOMPARE(store.questionCount, 3);

        // Undo Make puts back the test the last Make replaced, once.
        QVERIFY(window.action("undoMake")->isEnabled());
        window.action("undoMake")->trigger();
        readTestFile(check::nativePath(library + "/Quiz.txt"), store);
        QCOMPARE(store.questionCount, 2);
        QVERIFY(QFile::exists(library + "/Quiz/question2.htm"));
        QVERIFY(!QFile::exists(library + "/Quiz/question3.htm"));
        QVERIFY(!window.action("undoMake")->isEnabled());

        QVERIFY(page->save());
        QVERIFY(QFile(source).open(QIODevice::ReadOnly));
        QFile saved(source);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().endsWith("## Broken\n"));
    }

    // The Insert menu's maths writes TeX at the cursor with its first number chosen to type
    // over; the highlighter colours it and the preview's made page shows it typeset.
    void insertMaths_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("heading");
        QTest::addRow("fraction") << "Fraction"
                                  << "## What is $\\frac{7}{4}$ of 8?";
        QTest::addRow("power") << "Power"
                               << "## What is $7^{2}$ of 8?";
        QTest::addRow("square root") << "Square root"
                                     << "## What is $\\sqrt{7}$ of 8?";
        QTest::addRow("mixed number") << "Mixed number"
                                      << "## What is $7\\frac{1}{4}$ of 8?";
    }
    void insertMaths() {
        QFETCH(QString, entry);
        QFETCH(QString, heading);
        testing::FakeDesktop desktop;
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("test");
        const QString source =
            testing::writeFile(dir, "source/Quiz.md", "# Quiz\n\n## What is  of 8?\nNumber: 16\n");
        TeacherWindow window(desktop.seams(), dir.filePath("test"));
        window.show();
        QVERIFY(window.openFile(source));
        SourceEditor* editor = window.editorPage()->editor();
        editor->goToLine(3);
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(cursor.block().position() + 11); // after "## What is "
        editor->setTextCursor(cursor);
        auto* menu = window.findChild<QMenu*>("insertMenu");
        QAction* insert = nullptr;
        for (QAction* action : menu->actions())
            if (QString(action->text()).remove('&') == entry) insert = action;
        QVERIFY(insert && insert->isEnabled());
        insert->trigger();
        QTest::keyClicks(editor, "7");
        const QTextBlock line = editor->document()->findBlockByNumber(2);
        QCOMPARE(line.text(), heading);
        const qsizetype dollar = heading.indexOf('$');
        const QList<QTextLayout::FormatRange> formats = line.layout()->formats();
        QVERIFY(std::any_of(formats.begin(), formats.end(), [&](const auto& range) {
            return range.start <= dollar && dollar < range.start + range.length &&
                   range.format.foreground().color() == QColor(0x0f, 0x76, 0x6e);
        }));
        QTRY_VERIFY(window.editorPage()->lastCheck().problems.empty() &&
                    !window.editorPage()->lastCheck().pageFolder.isEmpty());
        const auto madePage = [&] {
            QFile page(window.editorPage()->lastCheck().pageFolder + "/question1.htm");
            return page.open(QIODevice::ReadOnly) ? page.readAll() : QByteArray();
        };
        QTRY_VERIFY(madePage().contains("class=\"katex\""));
    }

    // A page that does not fit the pupil's window is a problem on its question's line once the
    // pages are laid out, Make writes nothing, and the fix clears it.
    void pageThatDoesNotFit() {
        testing::FakeDesktop desktop;
        WebBrowserViews engine{QStringLiteral(CORVANE_WEBENGINE_PLUGIN)};
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("test");
        const QString library = dir.filePath("test");
        const QByteArray longWord = "A" + QByteArray(70, 'x');
        const QString source =
            testing::writeFile(dir, "source/Quiz.md",
                               "# Quiz\nFront.\n\n## Spell 40.\nWord: forty\n\n## Read it.\n" +
                                   longWord + " is one word.\n\nWord: ten\n");

        TeacherWindow window(desktop.seams(), library, &engine);
        window.show();
        QVERIFY(window.openFile(source));
        EditorPage* page = window.editorPage();
        QTRY_VERIFY_WITH_TIMEOUT(!page->checking(), 60000);
        QStringList rows = problemRows(page->problems());
        QCOMPARE(rows.size(), 1);
        // On the line that holds the word, not on the question's heading.
        QVERIFY2(rows.front().startsWith("8: The page of question 2 does not fit its 791 × 481 "
                                         "view: a long word \"A"),
                 qPrintable(rows.front()));
        QCOMPARE(page->editor()->problemLines(), QSet<int>{8});

        window.action("make")->trigger();
        QVERIFY(desktop.dialogs.texts("message").last().startsWith("Nothing was written"));
        QVERIFY(QDir(library).isEmpty());

        // Edited twice in a row, the pages of the last source count: the short word fits.
        page->editor()->goToLine(8);
        page->editor()->moveCursor(QTextCursor::EndOfBlock); // End stops where the line wraps
        QTest::keyClicks(page->editor(), " More.");
        QTRY_VERIFY(page->checking());
        QTextCursor line = page->editor()->textCursor();
        line.movePosition(QTextCursor::StartOfBlock);
        line.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
        line.insertText("A");
        // Make asked for while the pages are laid out goes on once they are.
        window.action("make")->trigger();
        QVERIFY(!QFile::exists(library + "/Quiz.txt"));
        QTRY_VERIFY2_WITH_TIMEOUT(QFile::exists(library + "/Quiz.txt"),
                                  qPrintable(problemRows(page->problems()).join(QChar(10))), 60000);
        QCOMPARE(problemRows(page->problems()), QStringList());
    }

    // A GIFT file and a test without a source open as new unsaved sources without mistakes;
    // what the GIFT file's conversion left out is listed with its line in that file.
    // A duplicate holds the test's own files: a link that leads out of its page folder (a
    // planted picture that is /etc/shadow) is left out; one to a file inside is copied.
    void duplicateCopiesOnlyTheTestsOwnFiles() {
        testing::FakeDesktop desktop;
        QTemporaryDir dir;
        const QString library = dir.filePath("test");
        QVERIFY(QDir().mkpath(library + "/Quiz"));
        QVERIFY(QFile::copy(CORVANE_SAMPLE_TESTS "/Number Puzzles.txt", library + "/Quiz.txt"));
        testing::writeFile(dir, "test/Quiz/front.htm", "<p>front</p>");
        testing::writeFile(dir, "secret.txt", "secret");
        QVERIFY(QFile::link(dir.filePath("secret.txt"), library + "/Quiz/secret.png"));
        QVERIFY(QFile::link(library + "/Quiz/front.htm", library + "/Quiz/same.htm"));
        LibraryPage page(desktop.seams(), library);
        page.refresh();
        QVERIFY(page.choose("Quiz"));
        desktop.dialogs.inputAnswers = {"Copy"};
        for (QAction* action : page.actions())
            if (action->text() == "&Duplicate…") action->trigger();
        QCOMPARE(QDir(library + "/Copy")
                     .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 QStringList({"front.htm", "same.htm"}));
        QVERIFY(!QFileInfo(library + "/Copy/same.htm").isSymLink());
    }

    void openOtherKinds_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("firstNote");
        QTest::addRow("gift") << CORVANE_GIFT_FIXTURES "/Every Kind.gift" << 9
                              << "Every Kind.gift:32";
        QTest::addRow("test without source")
            << CORVANE_SAMPLE_TESTS "/Number Puzzles.txt" << 5 << "";
    }
    void openOtherKinds() {
        QFETCH(QString, path);
        QFETCH(int, questions);
        QFETCH(QString, firstNote);
        testing::FakeDesktop desktop;
        QTemporaryDir library;
        TeacherWindow window(desktop.seams(), library.path());
        QVERIFY(window.openFile(path));
        EditorPage* page = window.editorPage();
        QTRY_COMPARE(page->lastCheck().questionLines.size(), std::size_t(questions));
        QVERIFY(page->lastCheck().problems.empty());
        QVERIFY(page->isModified());
        QVERIFY(page->sourcePath().isEmpty());
        const QStringList rows = problemRows(page->problems());
        if (firstNote.isEmpty())
            QCOMPARE(rows, QStringList());
        else
            QVERIFY2(!rows.isEmpty() && rows.front().startsWith(firstNote + ": left out"),
                     qPrintable(rows.join('\n')));
        QTRY_VERIFY(page->preview()->loaded());
    }
};

int main(int argc, char* argv[]) {
    WebBrowserViews::prepareEngine();
    QApplication app(argc, argv);
    registerFontSubstitutes();
    TestTeacherWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_teacher_window.moc"
