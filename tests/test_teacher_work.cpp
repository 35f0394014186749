// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's window keeps the teacher's work: a new test is saved where it lasts, typing
// stays in the editor while the real preview shows a question with an answer box, a very long
// source does not bring the window down, and a change made outside the window is never written
// over unasked.
#include "platform/web_browser_view.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"
#include "support/test_files.h"
#include "teacher/editor_page.h"
#include "teacher/preview.h"
#include "teacher/save_folder.h"
#include "teacher/source_editor.h"
#include "teacher/teacher_window.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QtTest>

using namespace corvane;
using namespace corvane::teacher;

namespace {

const QByteArray kTwoWords = "# Spelling\nFront.\n\n## Spell 40.\nWord: forty\n\n## Spell 7.\n"
                             "Word: seven\n";

// Types into whatever has the keyboard focus, as the keyboard does.
void typeKeys(const QString& text) {
    for (const QChar c : text) {
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused);
        QTest::keyClick(focused, c.toLatin1());
    }
}

// A user with nothing yet: an empty home and an own temporary folder beside it (not under it).
class NewUser {
  public:
    NewUser()
        : home_(dir_.filePath("home")), temp_(dir_.filePath("tmp")), oldHome_(qgetenv("HOME")),
          oldTemp_(qgetenv("TMPDIR")) {
        QDir().mkpath(home_);
        QDir().mkpath(temp_);
        qputenv("HOME", home_.toUtf8());
        qputenv("TMPDIR", temp_.toUtf8());
        qunsetenv("XDG_DOCUMENTS_DIR");
        QSettings().clear();
    }
    ~NewUser() {
        QSettings().clear();
        qputenv("HOME", oldHome_);
        qputenv("TMPDIR", oldTemp_);
    }
    QString home() const { return home_; }
    QString temp() const { return temp_; }

  private:
    QTemporaryDir dir_;
    QString home_;
    QString temp_;
    QByteArray oldHome_;
    QByteArray oldTemp_;
};

} // namespace

class TestTeacherWork : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Where the dialogs start: never under the temporary folder, whatever is found.
    void startFolder_data() {
        QTest::addColumn<QString>("library");    // under the user's folder, "tmp/" the temporary
        QTest::addColumn<QString>("remembered"); // the folder last chosen, if any
        QTest::addColumn<QString>("expected");
        QTest::addRow("new user, no source folder") << "tmp/scratch/test"
                                                    << ""
                                                    << "home/Documents/Corvane Maths tests";
        QTest::addRow("library in the temporary folder with a source folder")
            << "tmp/lib/test"
            << ""
            << "home/Documents/Corvane Maths tests";
        QTest::addRow("source folder beside a lasting library") << "home/school/test"
                                                                << ""
                                                                << "home/school/source";
        QTest::addRow("the folder last chosen") << "home/school/test"
                                                << "home/mine"
                                                << "home/mine";
        QTest::addRow("a temporary folder last chosen is passed over")
            << "tmp/scratch/test"
            << "tmp/saved"
            << "home/Documents/Corvane Maths tests";
    }
    void startFolder() {
        QFETCH(QString, library);
        QFETCH(QString, remembered);
        QFETCH(QString, expected);
        const NewUser user;
        const QDir root(QFileInfo(user.home()).path());
        QDir().mkpath(root.filePath(library));
        QDir().mkpath(QFileInfo(root.filePath(library)).path() + "/source");
        if (!remembered.isEmpty()) {
            QDir().mkpath(root.filePath(remembered));
            rememberFolder(root.filePath(remembered) + "/Quiz.md");
        }
        const QString folder = teacher::startFolder(root.filePath(library));
        QCOMPARE(folder, root.filePath(expected));
        QVERIFY(QFileInfo(folder).isDir());
        QVERIFY(!isTemporary(folder));
    }

    // The first Save of a new test offers a lasting folder, and the temporary one is refused.
    void firstSaveOfANewTest() {
        const NewUser user;
        testing::FakeDesktop desktop;
        const QString library = user.temp() + "/program/test";
        QDir().mkpath(library);
        TeacherWindow window(desktop.seams(), library);
        window.show();
        window.action("new")->trigger();
        EditorPage* page = window.editorPage();

        QStringList offered;
        QString answer; // what the teacher types in the dialog's name box, then Enter
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            offered << dialog->directory().absolutePath();
            if (answer.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(answer);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        poll.start(20);
        QVERIFY(!page->save());
        QCOMPARE(offered, QStringList{user.home() + "/Documents/Corvane Maths tests"});

        answer = user.temp() + "/Quiz.md";
        QVERIFY(!page->save());
        QVERIFY(!QFile::exists(answer));
        QVERIFY(desktop.dialogs.texts("message").last().contains("temporary folder"));
        QVERIFY(page->isModified() || page->sourcePath().isEmpty());

        answer = user.home() + "/Documents/Corvane Maths tests/Quiz.md";
        QVERIFY(page->save());
        QVERIFY(QFile::exists(answer));
        QCOMPARE(page->sourcePath(), answer);
        QVERIFY(!page->isModified());
    }

    // With the real preview: moving the cursor shows a question with an answer box, and what
    // the teacher types next still goes into the source; Tab indents there, F6 leaves it.
    void typingStaysInTheEditor() {
        testing::FakeDesktop desktop;
        WebBrowserViews engine{QStringLiteral(CORVANE_WEBENGINE_PLUGIN)};
        const Seams seams{
            desktop.dialogs,       engine,          desktop.display,  desktop.documents,
            desktop.programFolder, desktop.printer, desktop.settings, desktop.resultsFolder};
        QTemporaryDir dir;
        const QString source = testing::writeFile(dir, "source/Spelling.md", kTwoWords);
        TeacherWindow window(seams, dir.filePath("test"));
        // Opened as from the command line: before the window is active, the preview shows
        // the front page with its Start button.
        QVERIFY(window.openFile(source));
        EditorPage* page = window.editorPage();
        QTRY_VERIFY_WITH_TIMEOUT(page->preview()->loaded(), 20000);
        window.show();
        QTest::qWait(1500); // the front page's view is made and shown
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_COMPARE(QApplication::focusWidget(), page->editor());
        QTest::qWait(300);
        QCOMPARE(QApplication::focusWidget(), page->editor());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
        QTRY_COMPARE(page->preview()->shownQuestion(), 2);
        TForm1* form = page->preview()->form();
        QTRY_VERIFY(form->singleenter->isVisible());
        QTest::qWait(1500); // the question's page is loaded and shown
        typeKeys(" ok");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(page->editor()->toPlainText().endsWith("Word: seven\n ok\n\t"),
                 qPrintable(page->editor()->toPlainText().right(30)));
        QCOMPARE(form->singleenter->text(), QString());
        QCOMPARE(QApplication::focusWidget(), page->editor());

        // The teacher asks for the other panes, or clicks the answer box: it takes the keys.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), page->problems());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QTRY_VERIFY(page->preview()->isAncestorOf(QApplication::focusWidget()));
        QTest::qWait(300); // nothing sends it back
        QVERIFY(page->preview()->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), page->editor());
        QTest::mouseClick(form->singleenter, Qt::LeftButton);
        QTest::qWait(300);
        QCOMPARE(QApplication::focusWidget(), form->singleenter);
        typeKeys("seven");
        QCOMPARE(form->singleenter->text(), "seven");
    }

    // A source of about 2 MB lays its pages out, and is edited meanwhile, without taking the
    // window down.
    void longSourceStaysAlive() {
        testing::FakeDesktop desktop;
        WebBrowserViews engine{QStringLiteral(CORVANE_WEBENGINE_PLUGIN)};
        QTemporaryDir dir;
        QByteArray text = "# Long\nFront.\n";
        const QByteArray paragraph = QByteArray("Read the story and count. ").repeated(2700);
        for (int q = 1; q <= 30; ++q)
            text += "\n## Question " + QByteArray::number(q) + "\n" + paragraph +
                    "\nNumber: " + QByteArray::number(q) + "\n";
        QVERIFY(text.size() > 2'000'000);
        const QString source = testing::writeFile(dir, "source/Long.md", text);
        TeacherWindow window(desktop.seams(), dir.filePath("test"), &engine);
        window.show();
        QVERIFY(window.openFile(source));
        EditorPage* page = window.editorPage();
        QTRY_VERIFY_WITH_TIMEOUT(page->lastCheck().questionLines.size() == 30, 60000);
        QTest::qWait(25000);
        // Edits supersede the pages being laid out.
        for (int i = 0; i < 3; ++i) {
            page->editor()->goToLine(10 + i);
            QTest::keyClicks(page->editor(), "x");
            QTest::qWait(8000);
        }
        QTest::qWait(15000);
        QVERIFY(window.isVisible());
        const int before = page->lastCheck().generation;
        QTest::keyClicks(page->editor(), "y");
        QTRY_VERIFY_WITH_TIMEOUT(page->lastCheck().generation > before, 60000);
    }

    // A change made to the file outside the window: unchanged here it is loaded again; changed
    // here too, Save asks first and can load it instead.
    void outsideChange_data() {
        QTest::addColumn<bool>("editedHere");
        QTest::addColumn<QList<bool>>("answers"); // to "Save over?", then "Load instead?"
        QTest::addColumn<QString>("inFile");
        QTest::addColumn<QString>("inEditor");
        QTest::addColumn<bool>("saved");
        QTest::addRow("not edited here: loaded again") << false << QList<bool>{} << "outside"
                                                       << "outside" << true;
        QTest::addRow("saved over when the teacher says so") << true << QList<bool>{true} << "here"
                                                             << "here" << true;
        QTest::addRow("neither saved nor loaded") << true << QList<bool>{false, false} << "outside"
                                                  << "here" << false;
        QTest::addRow("loaded instead") << true << QList<bool>{false, true} << "outside"
                                        << "outside" << false;
    }
    void outsideChange() {
        QFETCH(bool, editedHere);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, inFile);
        QFETCH(QString, inEditor);
        QFETCH(bool, saved);
        testing::FakeDesktop desktop;
        QTemporaryDir dir;
        const QString source = testing::writeFile(dir, "source/Quiz.md", kTwoWords);
        TeacherWindow window(desktop.seams(), dir.filePath("test"));
        QVERIFY(window.openFile(source));
        EditorPage* page = window.editorPage();
        const QByteArray here = kTwoWords + "\n## Here\nWord: here\n";
        const QByteArray outside = kTwoWords + "\n## Outside\nWord: outside\n";
        if (editedHere) {
            QTextCursor all = page->editor()->textCursor();
            all.select(QTextCursor::Document);
            all.insertText(QString::fromUtf8(here));
        }
        testing::writeFile(dir, "source/Quiz.md", outside);
        if (!editedHere) QTRY_COMPARE(page->editor()->toPlainText().toUtf8(), outside);
        QVERIFY(page->isModified() == editedHere);
        desktop.dialogs.yesAnswers.assign(answers.begin(), answers.end());
        QCOMPARE(page->save(), saved);
        QCOMPARE(desktop.dialogs.texts("confirm").size(), answers.size());
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), inFile == "here" ? here : outside);
        QCOMPARE(page->editor()->toPlainText().toUtf8(), inEditor == "here" ? here : outside);
    }

    // Insert ▸ Picture copies the picture beside the source under a name the source can use,
    // and the test made from it shows the picture.
    void insertPicture_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("besideAlready"); // a file of that name beside the source
        QTest::addColumn<QString>("copiedAs");
        QTest::addRow("plain") << "coins.png" << QByteArray() << "coins.png";
        QTest::addRow("blanks in the name") << "two coins.png" << QByteArray() << "two coins.png";
        QTest::addRow("brackets in the name") << "coins (1).png" << QByteArray() << "coins -1-.png";
        QTest::addRow("another picture has the name")
            << "coins.png" << QByteArray("other") << "coins 2.png";
        QTest::addRow("the same picture is there")
            << "coins.png" << QByteArray("PNG") << "coins.png";
    }
    void insertPicture() {
        QFETCH(QString, name);
        QFETCH(QByteArray, besideAlready);
        QFETCH(QString, copiedAs);
        testing::FakeDesktop desktop;
        QTemporaryDir dir;
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkYellow);
        QDir().mkpath(dir.filePath("pictures"));
        const QString picture = dir.filePath("pictures/" + name);
        QVERIFY(image.save(picture, "PNG"));
        QDir().mkpath(dir.filePath("source"));
        if (besideAlready == "PNG")
            QVERIFY(QFile::copy(picture, dir.filePath("source/" + name)));
        else if (!besideAlready.isEmpty())
            testing::writeFile(dir, "source/" + name, besideAlready);
        const QString source = testing::writeFile(dir, "source/Quiz.md", kTwoWords);

        TeacherWindow window(desktop.seams(), dir.filePath("test"));
        QVERIFY(window.openFile(source));
        EditorPage* page = window.editorPage();
        page->editor()->goToLine(4);
        QVERIFY(page->insertPictureFile(picture));
        QVERIFY(QFile::exists(dir.filePath("source/" + copiedAs)));
        QVERIFY2(page->editor()->toPlainText().contains("\n## Spell 40.\n![" +
                                                        QFileInfo(copiedAs).completeBaseName() +
                                                        "](" + copiedAs + ")\n"),
                 qPrintable(page->editor()->toPlainText()));
        QTRY_VERIFY(!page->lastCheck().testFile.isEmpty());
        QVERIFY(page->lastCheck().problems.empty());
    }
};

int main(int argc, char* argv[]) {
    WebBrowserViews::prepareEngine();
    QApplication app(argc, argv);
    registerFontSubstitutes();
    TestTeacherWork test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_teacher_work.moc"
