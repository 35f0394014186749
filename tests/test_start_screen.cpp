// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/file_list_box.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"
#include "support/test_files.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <filesystem>
#include <fstream>

using corvane::Text;
using corvane::TForm1;
using corvane::testing::crlfLines;

namespace {

// A test of `count` typed-word questions.
QByteArray wordTest(int count) {
    QStringList lines{QString::number(count)};
    for (int q = 1; q <= count; ++q)
        lines << "KWORD"
              << "comment"
              << "0"
              << "0"
              << "0"
              << "0"
              << "0"
              << "0"
              << "cat"
              << "---";
    return crlfLines(lines);
}

// Writes `bytes` to the file named by the exact bytes `name` (which may hold folders) in `dir`,
// whether or not the name is UTF-8.
void writeNamed(const QTemporaryDir& dir, const QByteArray& name, const QByteArray& bytes) {
    const std::filesystem::path path =
        QFile::encodeName(dir.path()).toStdString() + "/" + name.toStdString();
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.constData(), bytes.size());
    QVERIFY(file.good());
}

enum class Library { Ready, NoTestFolder, NoProgramFolder, TestIsAFile };

// A program folder in a temporary folder, and the window on it, shown and activated. The test
// files are named by the bytes of their names under test/.
struct StartScreen {
    explicit StartScreen(const QList<QByteArray>& testFiles = {}, int questions = 2,
                         Library library = Library::Ready,
                         const corvane::ProgramSettings* settings = nullptr) {
        if (settings) desktop.settings.values = *settings;
        if (library == Library::Ready) QDir(dir.path()).mkpath("test");
        if (library == Library::TestIsAFile) writeNamed(dir, "test", "not a folder");
        for (const QByteArray& name : testFiles)
            writeNamed(dir, "test/" + name, wordTest(questions));
        const QString folder =
            library == Library::NoProgramFolder ? dir.filePath("gone") : dir.path();
        desktop.display.size = {800, 600};
        desktop.programFolder.folder = QFile::encodeName(folder).toStdString();
        form = std::make_unique<TForm1>(desktop.seams());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    std::string folder() const { return desktop.programFolder.folder + "/"; }

    // Presses `button` on the list entry `entry`, as the pupil does.
    void pressEntry(const QString& entry, Qt::MouseButton button = Qt::LeftButton) {
        const QList<QListWidgetItem*> found = form->FileList->findItems(entry, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        const QPoint centre = form->FileList->visualItemRect(found.front()).center();
        QTest::mousePress(form->FileList->viewport(), button, {}, centre);
    }

    void typeName(const QString& name) {
        form->EStartName->clear();
        QTest::keyClicks(form->EStartName, name);
    }

    QTemporaryDir dir;
    corvane::testing::FakeDesktop desktop;
    std::unique_ptr<TForm1> form;
};

} // namespace

Q_DECLARE_METATYPE(Library)

class StartScreenTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { corvane::registerFontSubstitutes(); }

    // Entries of every kind ending in .txt in any case, sorted without regard to the case of
    // any Latin-1 letter. Names that are not UTF-8 (Latin-1 bytes, as a Windows tool saves
    // them) are listed too, shown as Latin-1.
    void listsTestFilesSorted() {
        StartScreen screen({"b.txt", "QUIZ.TXT", "A.txt", "a.txt.txt", ".hidden.txt",
                            "Gr\u00f6\u00dfe.txt", "notes.doc", "x.txt/front.htm", "\xc4rger.txt",
                            "\xe4pfel.txt", "\xc9tude.txt", "\xe9lan.txt", "\xe9t\xe9.doc"});
        const QStringList expected{".hidden.txt",
                                   "A.txt",
                                   "a.txt.txt",
                                   "b.txt",
                                   "Gr\u00f6\u00dfe.txt",
                                   "QUIZ.TXT",
                                   "x.txt",
                                   QString::fromLatin1("\xe4pfel.txt"),
                                   QString::fromLatin1("\xc4rger.txt"),
                                   QString::fromLatin1("\xe9lan.txt"),
                                   QString::fromLatin1("\xc9tude.txt")};
        QCOMPARE(screen.form->FileList->entries(), expected);
        QVERIFY(screen.desktop.dialogs.shown.empty());
    }

    // The list's one-pixel black frame stays whole around a selected entry, the first one too.
    void selectionKeepsTheFrame() {
        StartScreen screen({"A.txt", "B.txt"});
        screen.pressEntry("A.txt");
        QVERIFY(screen.form->FileList->currentItem()->isSelected());
        const QImage list = screen.form->FileList->grab().toImage();
        const QRect selected =
            screen.form->FileList->visualItemRect(screen.form->FileList->item(0));
        for (int y = 0; y < selected.bottom(); ++y)
            for (int x : {0, list.width() - 1})
                QCOMPARE(QColor(list.pixel(x, y)), QColor(Qt::black));
        for (int x = 0; x < list.width(); ++x)
            QCOMPARE(QColor(list.pixel(x, 0)), QColor(Qt::black));
        QVERIFY(QColor(list.pixel(list.width() / 2, selected.center().y() + 1)) !=
                QColor(Qt::white));
    }

    // The set-up: screens, stage, paths and colours.
    void setUpPutsTheStartScreenInPlace() {
        StartScreen screen;
        TForm1& form = *screen.form;
        QVERIFY(form.StartPanel->isVisible());
        for (QWidget* hidden : {form.FrontPanel, form.QuestionPanel, form.ResultPanel,
                                form.MultiPanel, form.YesNoPanel})
            QVERIFY(!hidden->isVisibleTo(&form) && !hidden->isEnabled());
        QCOMPARE(form.currentQuestion, -1);
        QCOMPARE(form.testFolder, screen.folder() + "test/");
        QCOMPARE(form.helpFilePath, screen.folder() + "LumbrelHelp.pdf");
        QCOMPARE(QDir::currentPath(), QDir(screen.dir.filePath("test")).canonicalPath());
        QCOMPARE(form.EStartName->palette().color(QPalette::Base), QColor(0xFF, 0x99, 0x00));
        const QImage& list = form.FileList->canvasImage()->surface();
        QCOMPARE(QColor(list.pixel(0, 0)), QColor(Qt::black));
        QCOMPARE(QColor(list.pixel(5, 5)), QColor(Qt::white));
    }

    // A message box closing activates the window again; the list must not fill twice.
    void setUpRunsOnce() {
        StartScreen screen({"Shapes.txt"});
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(screen.form.get(), &activate);
        QApplication::sendEvent(screen.form.get(), &activate);
        QCOMPARE(screen.form->FileList->entries(), QStringList{"Shapes.txt"});
    }

    void missingTestFolder_data() {
        QTest::addColumn<Library>("library");
        QTest::addColumn<QString>("message");
        QTest::addRow("no test folder") << Library::NoTestFolder << "File not found.";
        QTest::addRow("no program folder") << Library::NoProgramFolder << "Invalid filename.";
        // As the reader reports a folder on a file's path that is a file.
        QTest::addRow("test is a file") << Library::TestIsAFile << "Invalid filename.";
    }
    void missingTestFolder() {
        QFETCH(Library, library);
        QFETCH(QString, message);
        StartScreen screen({}, 0, library);
        QCOMPARE(screen.desktop.dialogs.texts("error"), QStringList{message});
        QCOMPARE(screen.form->FileList->count(), 0);
        QVERIFY(screen.form->StartPanel->isVisible());
        QCOMPARE(screen.form->currentQuestion, -1);
    }

    // A library folder that cannot serve is told under the list with the folder and the
    // setting, never in place of the samples; the samples are listed when asked for.
    void libraryProblem_data() {
        QTest::addColumn<QString>("library"); // "ok", "missing", "no parent", "file", "empty"
        QTest::addColumn<bool>("samples");
        QTest::addColumn<QString>("told"); // in the message, after the folder; "" for none
        QTest::addColumn<QStringList>("listed");
        const QStringList both{"Class 4B.txt", "Sample.txt"};
        QTest::newRow("ready") << "ok" << true << "" << both;
        QTest::newRow("missing, samples on")
            << "missing" << true << " does not exist" << QStringList{"Sample.txt"};
        QTest::newRow("missing, samples off")
            << "missing" << false << " does not exist" << QStringList{};
        QTest::newRow("missing parent")
            << "no parent" << false << " does not exist, nor does" << QStringList{};
        QTest::newRow("a file") << "file" << false << " is not a folder" << QStringList{};
        QTest::newRow("unmounted share, samples on")
            << "empty" << true << " is empty: if it is a network share, it is not mounted"
            << QStringList{"Sample.txt"};
    }
    void libraryProblem() {
        QFETCH(QString, library);
        QFETCH(bool, samples);
        QFETCH(QString, told);
        QFETCH(QStringList, listed);
        QTemporaryDir shared;
        const QString folder = shared.filePath(library == "no parent" ? "share/tests" : "tests");
        if (library == "ok") writeNamed(shared, "tests/Class 4B.txt", wordTest(1));
        if (library == "empty") QVERIFY(QDir(shared.path()).mkdir("tests"));
        if (library == "file") writeNamed(shared, "tests", "not a folder");
        corvane::ProgramSettings settings;
        settings.libraryFolder = folder;
        settings.librarySamples = samples;
        settings.places["library/folder"] = {"/etc/cm/conf.d/room.ini", 3};
        StartScreen screen({"Sample.txt"}, 1, Library::Ready, &settings);

        QCOMPARE(screen.form->FileList->entries(), listed);
        QCOMPARE(screen.desktop.dialogs.texts("error"), QStringList{});
        const QString expected = told.isEmpty() ? QString() : "The library folder " + folder + told;
        const QString shown = screen.form->LLibraryProblem->text();
        QVERIFY2(shown.startsWith(expected), qPrintable(shown));
        QCOMPARE(screen.form->LLibraryProblem->isVisible(), !told.isEmpty());
        if (!told.isEmpty())
            QVERIFY2(
                shown.endsWith("(the setting library/folder, /etc/cm/conf.d/room.ini line 3)."),
                qPrintable(shown));
        QCOMPARE(screen.form->FileList->accessibleDescription(), shown);
        if (!told.isEmpty()) // the list makes room for the message
            QVERIFY(screen.form->FileList->geometry().bottom() <
                    screen.form->LLibraryProblem->geometry().top());
    }

    // Any button on an entry loads it; names keep any ".TXT" and lose every ".txt".
    void pressOnEntryLoads_data() {
        QTest::addColumn<QByteArray>("fileName");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QByteArray>("testName");
        QTest::addColumn<QByteArray>("pageFolder");
        QTest::addRow("left") << QByteArray("Shapes.txt") << "Shapes.txt" << Qt::LeftButton
                              << QByteArray("Shapes") << QByteArray("test/Shapes");
        QTest::addRow("right") << QByteArray("Shapes.txt") << "Shapes.txt" << Qt::RightButton
                               << QByteArray("Shapes") << QByteArray("test/Shapes");
        QTest::addRow("upper case") << QByteArray("QUIZ.TXT") << "QUIZ.TXT" << Qt::LeftButton
                                    << QByteArray("QUIZ.TXT") << QByteArray("test/QUIZ.TXT");
        QTest::addRow("doubled") << QByteArray("a.txt.txt") << "a.txt.txt" << Qt::LeftButton
                                 << QByteArray("a") << QByteArray("test/a");
        QTest::addRow("accented") << QByteArray("M\u00fcnze.txt") << "M\u00fcnze.txt"
                                  << Qt::MiddleButton << QByteArray("M\xfcnze")
                                  << QByteArray("test/M\u00fcnze");
        // Saved by a Windows tool: the name's bytes are Latin-1, not UTF-8.
        QTest::addRow("latin-1") << QByteArray("caf\xe9.txt") << QString::fromLatin1("caf\xe9.txt")
                                 << Qt::LeftButton << QByteArray("caf\xe9")
                                 << QByteArray("test/caf\xe9");
    }
    void pressOnEntryLoads() {
        QFETCH(QByteArray, fileName);
        QFETCH(QString, entry);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QByteArray, testName);
        QFETCH(QByteArray, pageFolder);
        StartScreen screen({fileName});
        TForm1& form = *screen.form;
        screen.typeName("Ann");
        form.pupilName = "Ann";
        form.singleenter->setText("left over");
        form.store.questionCount = 2;
        form.store.userText[1] = "old answer";

        screen.pressEntry(entry, button);

        QCOMPARE(screen.desktop.dialogs.shown.size(), 0u);
        QCOMPARE(form.store.questionCount, 2);
        QCOMPARE(form.store.answerText[2], Text("cat"));
        QCOMPARE(form.store.userText[1], Text());
        QCOMPARE(form.testName, testName.toStdString());
        QCOMPARE(form.testFilePath, screen.folder() + "test/" + fileName.toStdString());
        QCOMPARE(form.testPageFolder, screen.folder() + pageFolder.toStdString());
        QCOMPARE(form.frontPagePath, form.testPageFolder + "/front.htm");
        // The loader ends on the start screen with the typed name kept.
        QCOMPARE(form.singleenter->text(), QString());
        QCOMPARE(form.singleenter->palette().color(QPalette::Base), QColor(0xFF, 0xC8, 0x60));
        QCOMPARE(form.currentQuestion, -1);
        QCOMPARE(form.pupilName, Text());
        QCOMPARE(form.LheaderName->text(), QString("Name: "));
        QCOMPARE(form.EStartName->text(), QString("Ann"));
    }

    void pressBelowTheEntriesDoesNothing() {
        StartScreen screen({"Shapes.txt"});
        QTest::mousePress(screen.form->FileList->viewport(), Qt::LeftButton, {}, {20, 200});
        QCOMPARE(screen.form->testFilePath, std::string());
        QCOMPARE(screen.form->store.questionCount, 0);
    }

    // A folder whose name ends in .txt is listed, and the loader refuses it.
    void folderEntryFailsToLoad() {
        StartScreen screen({"x.txt/front.htm"});
        screen.pressEntry("x.txt");
        QCOMPARE(screen.desktop.dialogs.texts("error"), QStringList{"File access denied."});
        QCOMPARE(screen.form->testName, Text("x"));
        QCOMPARE(screen.form->testPageFolder, std::string()); // set only after a good load
    }

    void okChecksTheName_data() {
        QTest::addColumn<QString>("name");
        QTest::addRow("empty") << "";
        QTest::addRow("spaces") << "   ";
        QTest::addRow("name") << "Ann Lee";
    }
    void okChecksTheName() {
        QFETCH(QString, name);
        StartScreen screen({"Shapes.txt"});
        TForm1& form = *screen.form;
        screen.pressEntry("Shapes.txt");
        form.store.userMarks[1][2] = 1;
        form.singleenter->setText("12");
        screen.typeName(name);

        QTest::mouseClick(form.IStartOk, Qt::LeftButton);

        if (name.isEmpty()) {
            QCOMPARE(screen.desktop.dialogs.texts("message"),
                     QStringList{"Please enter your name"});
            QCOMPARE(form.currentQuestion, -1);
            QVERIFY(form.StartPanel->isVisible());
            QCOMPARE(form.store.userMarks[1][2], 1);
            QCOMPARE(screen.desktop.browsers.lastUrl("Front"), std::string());
            return;
        }
        QVERIFY(screen.desktop.dialogs.shown.empty());
        QCOMPARE(form.pupilName, corvane::fromQt(name));
        QCOMPARE(form.LheaderName->text(), "Name: " + name);
        QVERIFY(!form.StartPanel->isVisible());
        QVERIFY(form.FrontPanel->isVisible());
        QCOMPARE(form.currentQuestion, 0);
        QCOMPARE(form.store.userMarks[1][2], 0);
        QCOMPARE(form.singleenter->text(), QString());
        QVERIFY(!form.Questionno->isHidden());
        QCOMPARE(screen.desktop.browsers.lastUrl("Front"),
                 "file://" + screen.folder() + "test/Shapes/front.htm");
    }

    // Before any test is clicked the paths are empty: the front page is "/front.htm".
    void okBeforeAnyTestOpensBareFrontPage() {
        StartScreen screen;
        screen.typeName("Ann");
        QTest::mouseClick(screen.form->IStartOk, Qt::LeftButton);
        QCOMPARE(screen.desktop.browsers.lastUrl("Front"), std::string("file:///front.htm"));
        QCOMPARE(screen.form->currentQuestion, 0);
    }

    // The start image opens question 1; a test without questions goes back to the start
    // screen, where the name stays and another test can be picked.
    void startImageOpensQuestionOne_data() {
        QTest::addColumn<int>("count");
        QTest::addRow("two questions") << 2;
        QTest::addRow("no questions") << 0;
    }
    void startImageOpensQuestionOne() {
        QFETCH(int, count);
        StartScreen screen({"T.txt", "U.txt"}, count);
        TForm1& form = *screen.form;
        screen.pressEntry("T.txt");
        screen.typeName("Ann");
        QTest::mouseClick(form.IStartOk, Qt::LeftButton);

        QTest::mouseClick(form.ClickStart, Qt::LeftButton);

        if (count == 0) {
            QCOMPARE(screen.desktop.dialogs.texts("message"),
                     QStringList{"This test has no questions"});
            QCOMPARE(form.currentQuestion, -1);
            QVERIFY(form.StartPanel->isVisible());
            QVERIFY(!form.FrontPanel->isVisible() && !form.QuestionPanel->isVisible());
            QCOMPARE(form.EStartName->text(), QString("Ann"));
            QVERIFY(screen.desktop.browsers.navigations["Question"].empty());
            screen.pressEntry("U.txt");
            QCOMPARE(form.testName, Text("U"));
            QCOMPARE(screen.desktop.dialogs.shown.size(), 1u);
            return;
        }
        QCOMPARE(form.currentQuestion, 1);
        QCOMPARE(form.reviewMode, 0);
        QVERIFY(!form.FrontPanel->isVisible());
        QVERIFY(form.QuestionPanel->isVisible());
        QCOMPARE(screen.desktop.browsers.lastUrl("Question"),
                 "file://" + screen.folder() + "test/T/question1.htm");
    }
};

QTEST_MAIN(StartScreenTest)
#include "test_start_screen.moc"
