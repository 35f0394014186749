// SPDX-License-Identifier: GPL-3.0-or-later
// corvane-maths.ini: every line read as written or told with its line; the two places; the
// folders the pupils see; the problem as the teacher reads it; the review password.
#include "core/settings_check.h"
#include "core/settings_file.h"
#include "support/test_files.h"

#include <QCryptographicHash>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace corvane;
using namespace corvane::testing;

namespace {

// The settings in one line, with the home and ini folders written HOME and INI.
QString describe(const ProgramSettings& s) {
    QStringList parts{"results=" + s.resultsFolder, "library=" + s.libraryFolder};
    if (!s.librarySamples) parts << "samples=no";
    if (s.displayOffer == DisplayOffer::Never) parts << "offer=never";
    if (!s.reviewPasswordSha256.isEmpty()) parts << "password=" + s.reviewPasswordSha256.left(8);
    if (!s.speechOn) parts << "speech=off";
    if (s.speechRate != 0) parts << QStringLiteral("rate=%1").arg(s.speechRate);
    if (!s.speechVoice.isEmpty()) parts << "voice=" + s.speechVoice;
    for (const SettingsProblem& problem : s.problems)
        parts << QStringLiteral("%1: %2").arg(problem.line).arg(problem.text);
    return parts.join(" | ").replace("/home/pupil", "HOME").replace("/etc/cm", "INI");
}

const QByteArray kOwlPie = QCryptographicHash::hash("OWL PIE", QCryptographicHash::Sha256).toHex();

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

  private slots:
    void lines_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("expected");
        const QString none = "results= | library=";
        QTest::newRow("empty") << QByteArray() << none;
        QTest::newRow("comments, blank lines, CRLF, byte-order mark")
            << QByteArray("\xEF\xBB\xBF; note\r\n\r\n# other\r\n[results]\r\nfolder=/srv/4b\r\n")
            << "results=/srv/4b | library=";
        QTest::newRow("a comma is part of the folder")
            << QByteArray("[results]\nfolder=/srv/4b, maths\n")
            << "results=/srv/4b, maths | library=";
        QTest::newRow("sections and names in any letter case")
            << QByteArray("[Results]\nFOLDER = /srv/4b\n[LIBRARY]\nSamples=No\n")
            << "results=/srv/4b | library= | samples=no";
        QTest::newRow("~ is the home folder")
            << QByteArray("[results]\nfolder=~/results\n[library]\nfolder=~\n")
            << "results=HOME/results | library=HOME";
        QTest::newRow("relative to the ini's folder")
            << QByteArray("[results]\nfolder=results/../4b\n") << "results=INI/4b | library=";
        QTest::newRow("quotes dropped") << QByteArray("[results]\nfolder=\"/srv/my results\"\n")
                                        << "results=/srv/my results | library=";
        QTest::newRow("blank folder is off") << QByteArray("[results]\nfolder=\n") << none;
        QTest::newRow("every setting")
            << QByteArray("[library]\nfolder=/srv/tests\nsamples=false\n[display]\noffer=never\n"
                          "[review]\npassword_sha256=" +
                          kOwlPie.toUpper() + "\n")
            << "results= | library=/srv/tests | samples=no | offer=never | password=" +
                   QString(kOwlPie.left(8));
        QTest::newRow("misspelt name")
            << QByteArray("[results]\nfodler=/srv/4b\n")
            << none + " | 2: \"fodler\" is not a setting of [results] (did you mean \"folder\"?)";
        QTest::newRow("misspelt section: its lines are not told again")
            << QByteArray("[result]\nfolder=/srv/4b\n")
            << none + " | 1: [result] is not a section of this file (they are [display], "
                      "[library], [results], [review], [speech]) (did you mean \"results\"?)";
        QTest::newRow("before any section")
            << QByteArray("folder=/srv/4b\n")
            << none + " | 1: \"folder=/srv/4b\" comes before any [section]";
        QTest::newRow("no equals sign")
            << QByteArray("[results]\nfolder /srv/4b\n")
            << none +
                   " | 2: \"folder /srv/4b\" is not a setting (write name=value under a [section])";
        QTest::newRow("set twice: the first stays")
            << QByteArray("[results]\nfolder=/a\n[Results]\nfolder=/b\n")
            << "results=/a | library= | 4: \"folder\" is set again (first on line 2)";
        QTest::newRow("another user's home")
            << QByteArray("[results]\nfolder=~bob/results\n")
            << none + " | 2: \"folder\" is \"~bob/results\": write the whole folder; ~ alone is "
                      "the home folder";
        QTest::newRow("bad choices")
            << QByteArray("[library]\nsamples=maybe\n[display]\noffer=sometimes\n")
            << none + " | 2: \"samples\" must be yes or no, not \"maybe\" | 4: \"offer\" must be "
                      "ask or never, not \"sometimes\"";
        QTest::newRow("password not a hash")
            << QByteArray("[review]\npassword_sha256=owl pie\n")
            << none + " | 2: \"password_sha256\" must be 64 hexadecimal digits, as "
                      "corvane-maths(1) shows how to make";
        QTest::newRow("reading aloud off, slower, a named voice")
            << QByteArray("[speech]\nenabled=off\nrate=-3\nvoice=English (Great Britain)\n")
            << none + " | speech=off | rate=-3 | voice=English (Great Britain)";
        QTest::newRow("reading aloud: bad values set nothing")
            << QByteArray("[speech]\nenabled=loud\nrate=11\nRate=fast\n")
            << none + " | 2: \"enabled\" must be yes or no, not \"loud\" | 3: \"rate\" must be a "
                      "whole number from -10 (slow) to 10 (fast) | 4: \"rate\" is set again "
                      "(first on line 3)";
        QTest::newRow("not UTF-8")
            << QByteArray("[results]\nfolder=/srv/caf\xE9\n") << none + " | 2: is not UTF-8 text";
    }
    void lines() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, expected);
        QCOMPARE(describe(parseSettings(ini, "/etc/cm", "/home/pupil")), expected);
    }

    // Beside the program first, then the system's file, then none; a file that cannot be read
    // is told.
    void places_data() {
        QTest::addColumn<bool>("beside");
        QTest::addColumn<QString>("system"); // "file", "none" or "folder" (unreadable)
        QTest::addColumn<QString>("expected");
        QTest::newRow("beside wins") << true << "file"
                                     << "beside";
        QTest::newRow("system") << false << "file"
                                << "system";
        QTest::newRow("none") << false << "none"
                              << "";
        QTest::newRow("unreadable") << false << "folder"
                                    << "problem";
    }
    void places() {
        QFETCH(bool, beside);
        QFETCH(QString, system);
        QFETCH(QString, expected);
        QTemporaryDir program, etc;
        if (beside) writeFile(program, "corvane-maths.ini", "[results]\nfolder=beside\n");
        if (system == "file") writeFile(etc, "corvane-maths.ini", "[results]\nfolder=system\n");
        if (system == "folder") QVERIFY(QDir(etc.path()).mkdir("corvane-maths.ini"));
        const QString systemFile = etc.filePath("corvane-maths.ini");

        const ProgramSettings read = readProgramSettings(program.path(), systemFile);
        if (expected == "problem") {
            QCOMPARE(read.file, systemFile);
            QCOMPARE(read.problems.size(), std::size_t(1));
            QVERIFY2(read.problems[0].text.startsWith("cannot be read"),
                     qPrintable(read.problems[0].text));
        } else {
            QCOMPARE(read.resultsFolder,
                     expected.isEmpty() ? QString() : (beside ? program : etc).filePath(expected));
            QCOMPARE(read.file, expected.isEmpty() ? QString()
                                                   : (beside ? program.filePath("corvane-maths.ini")
                                                             : systemFile));
            QVERIFY(read.problems.empty());
        }
    }

    void testFolders_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<bool>("samples");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("default") << "" << true << QStringList{"/p/test"};
        QTest::newRow("shared and samples") << "/srv/t" << true << QStringList{"/srv/t", "/p/test"};
        QTest::newRow("shared only") << "/srv/t" << false << QStringList{"/srv/t"};
        QTest::newRow("the samples named") << "/p/./test/" << false << QStringList{"/p/test"};
    }
    void testFolders() {
        QFETCH(QString, library);
        QFETCH(bool, samples);
        QFETCH(QStringList, expected);
        ProgramSettings settings;
        settings.libraryFolder = library;
        settings.librarySamples = samples;
        const std::vector<QString> folders = corvane::testFolders(settings, "/p");
        QCOMPARE(QStringList(folders.begin(), folders.end()), expected);
    }

    void problemText_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no problem") << QByteArray("[results]\nfolder=/srv\n") << "";
        QTest::newRow("results setting broken")
            << QByteArray("[results]\nfodler=/srv\n")
            << "Results are kept on this computer until this is put right: corvane-maths.ini "
               "line 2: \"fodler\" is not a setting of [results] (did you mean \"folder\"?) (F)";
        QTest::newRow("record off")
            << QByteArray("[display]\noffer=no\n")
            << "The class record is off: corvane-maths.ini line 2: \"offer\" must be ask or "
               "never, not \"no\" (F)";
        QTest::newRow("results problem told before an earlier one")
            << QByteArray("[display]\noffer=no\n[results]\nfolder=~bob\n")
            << "Results are kept on this computer until this is put right: corvane-maths.ini "
               "line 4: \"folder\" is \"~bob\": write the whole folder; ~ alone is the home "
               "folder (and 1 more) (F)";
        QTest::newRow("record on, two problems")
            << QByteArray("[results]\nfolder=/srv\n[display]\noffer=no\nofer=never\n")
            << "corvane-maths.ini line 4: \"offer\" must be ask or never, not \"no\" (and 1 more) "
               "(F)";
    }
    void problemText() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, expected);
        ProgramSettings settings = parseSettings(ini, "/", "/home");
        settings.file = "F";
        QCOMPARE(settingsProblemText(settings), expected);
    }

    // Which mistakes keep records on this computer: those that may hide the results folder.
    void resultsSettingProblem_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("line"); // 0: the results setting can be used
        QTest::newRow("good") << QByteArray("[results]\nfolder=/srv\n") << 0;
        QTest::newRow("misspelt key") << QByteArray("[results]\nfodler=/srv\n") << 2;
        QTest::newRow("set twice") << QByteArray("[results]\nfolder=/a\nfolder=/b\n") << 3;
        QTest::newRow("bad folder") << QByteArray("[Results]\nfolder=~bob\n") << 2;
        QTest::newRow("misspelt section") << QByteArray("[resluts]\nfolder=/srv\n") << 1;
        QTest::newRow("unclosed section") << QByteArray("[results\nfolder=/srv\n") << 1;
        QTest::newRow("another section's mistake")
            << QByteArray("[results]\nfolder=/srv\n[display]\noffer=no\n[librray]\n") << 0;
        QTest::newRow("not UTF-8 under results") << QByteArray("[results]\nfolder=/\xff\n") << 2;
    }
    void resultsSettingProblem() {
        QFETCH(QByteArray, ini);
        QFETCH(int, line);
        ProgramSettings settings = parseSettings(ini, "/", "/home");
        settings.file = "F";
        const QString problem = corvane::resultsSettingProblem(settings);
        QCOMPARE(problem.isEmpty(), line == 0);
        if (line > 0)
            QVERIFY2(problem.contains(QString(" line %1: ").arg(line)), qPrintable(problem));
    }

    // The drop-ins conf.d/*.ini after the main file, by name; each value given replaces the
    // one before, a line that cannot be used names its own file; other files are left alone.
    void dropIns_data() {
        QTest::addColumn<QByteArray>("main");     // "-": no main file
        QTest::addColumn<QStringList>("dropIns"); // "NAME=CONTENT"
        QTest::addColumn<QString>("expected");    // describe(), with problems as FILE:LINE
        QTest::newRow("a drop-in replaces the main file's value")
            << QByteArray("[results]\nfolder=/a\n[display]\noffer=never\n")
            << QStringList{"room.ini=[results]\nfolder=/b\n"}
            << "results=/b | library= | offer=never";
        QTest::newRow("the later name wins, whatever the order written")
            << QByteArray("-")
            << QStringList{"20-b.ini=[results]\nfolder=/b\n", "10-a.ini=[results]\nfolder=/a\n"}
            << "results=/b | library=";
        QTest::newRow("dpkg's copies, backups and hidden files are not read")
            << QByteArray("[results]\nfolder=/a\n")
            << QStringList{"room.ini.dpkg-old=[results]\nfolder=/old\n",
                           "room.ini~=[results]\nfolder=/backup\n",
                           ".room.ini=[results]\nfolder=/hidden\n"}
            << "results=/a | library=";
        QTest::newRow("a bad value keeps the value before and names its file")
            << QByteArray("[display]\noffer=never\n")
            << QStringList{"room.ini=[display]\n\noffer=off\n"}
            << "results= | library= | offer=never | room.ini:3: \"offer\" must be ask or never, "
               "not \"off\"";
        QTest::newRow("set in two files is no problem; twice in one file is")
            << QByteArray("[results]\nfolder=/a\n")
            << QStringList{"room.ini=[results]\nfolder=/b\nfolder=/c\n"}
            << "results=/b | library= | room.ini:3: \"folder\" is set again (first on line 2)";
        QTest::newRow("an unknown key in the main file")
            << QByteArray("[results]\nfodler=/a\n") << QStringList{}
            << "results= | library= | corvane-maths.ini:2: \"fodler\" is not a setting of "
               "[results] (did you mean \"folder\"?)";
    }
    void dropIns() {
        QFETCH(QByteArray, main);
        QFETCH(QStringList, dropIns);
        QFETCH(QString, expected);
        QTemporaryDir program, etc;
        if (main != "-") writeFile(etc, "corvane-maths.ini", main);
        QVERIFY(QDir(etc.path()).mkdir("conf.d"));
        for (const QString& dropIn : dropIns)
            writeFile(etc, "conf.d/" + dropIn.section('=', 0, 0), dropIn.section('=', 1).toUtf8());
        const ProgramSettings read =
            readProgramSettings(program.path(), etc.filePath("corvane-maths.ini"));
        QString shown = describe(read);
        for (const SettingsProblem& problem : read.problems)
            shown.replace(QStringLiteral(" | %1: ").arg(problem.line),
                          QStringLiteral(" | %1:%2: ")
                              .arg(QFileInfo(problem.file).fileName())
                              .arg(problem.line));
        QCOMPARE(shown, expected);
        // Where the results folder came from: the file and line that gave the value kept.
        if (expected.startsWith("results=/b"))
            QCOMPARE(read.places.at("results/folder").file,
                     etc.filePath("conf.d/" + dropIns.first().section('=', 0, 0)));
    }

    // The folders as this account finds them: a library that cannot serve, a results folder
    // that takes no records or is open to every account.
    void folderProblems_data() {
        QTest::addColumn<QString>("library");      // "", "tests" (a folder with a file), "empty",
                                                   // "missing", "deep/missing", "file"
        QTest::addColumn<int>("resultsMode");      // -1: no results folder, 0: missing
        QTest::addColumn<QStringList>("expected"); // each problem's text after its folder
        const bool root = ::geteuid() == 0;
        QTest::newRow("none set") << "" << -1 << QStringList{};
        QTest::newRow("a library and a drop box") << "tests" << 03773 << QStringList{};
        QTest::newRow("a teacher's own results folder")
            << "tests" << 0700
            << (root ? QStringList{" (mode 0700) does not take other accounts' records: a drop "
                                   "box for pupils is mode 3773"}
                     : QStringList{});
        QTest::newRow("library missing") << "missing" << -1 << QStringList{" does not exist"};
        QTest::newRow("library and its parent missing")
            << "deep/missing" << -1
            << QStringList{" does not exist, nor does the folder DIR/deep "
                           "it would be in"};
        QTest::newRow("library is a file") << "file" << -1 << QStringList{" is not a folder"};
        QTest::newRow("an unmounted share")
            << "empty" << -1
            << QStringList{" is empty: if it is a network share, it is not mounted"};
        QTest::newRow("results missing")
            << "" << 0
            << QStringList{" does not exist: records are kept on each computer until "
                           "it is there"};
        QTest::newRow("results open to all")
            << "" << 0777
            << QStringList{" (mode 0777) lets every account list the records",
                           " (mode 0777) lets every account remove others' records (no sticky bit)",
                           " (mode 0777) gives records the pupil's group, not the folder's (no "
                           "setgid bit), so teachers cannot read them"};
        QTest::newRow("drop box without setgid")
            << "" << 01773
            << QStringList{" (mode 1773) gives records the pupil's group, not the folder's (no "
                           "setgid bit), so teachers cannot read them"};
    }
    void folderProblems() {
        QFETCH(QString, library);
        QFETCH(int, resultsMode);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        ProgramSettings settings;
        if (!library.isEmpty()) settings.libraryFolder = dir.filePath(library);
        if (library == "tests") writeFile(dir, "tests/Shapes.txt", "0\r\n");
        if (library == "empty") QVERIFY(QDir(dir.path()).mkdir("empty"));
        if (library == "file") writeFile(dir, "file", "not a folder");
        if (resultsMode >= 0) settings.resultsFolder = dir.filePath("results");
        if (resultsMode > 0) {
            QVERIFY(QDir(dir.path()).mkdir("results"));
            QCOMPARE(
                ::chmod(QFile::encodeName(settings.resultsFolder).constData(), mode_t(resultsMode)),
                0);
        }
        settings.places["library/folder"] = {"/etc/cm/room.ini", 4};
        QStringList got;
        for (const SettingsProblem& problem : settingsProblems(settings)) {
            const QString& folder =
                problem.key == "library/folder" ? settings.libraryFolder : settings.resultsFolder;
            const QString start =
                (problem.key == "library/folder" ? "The library folder " : "The results folder ") +
                folder;
            QVERIFY2(problem.text.startsWith(start), qPrintable(problem.text));
            got << problem.text.mid(start.size()).replace(dir.path(), "DIR");
            if (problem.key == "library/folder")
                QCOMPARE(describeProblem(settings, problem),
                         problem.text + " (the setting library/folder, /etc/cm/room.ini line 4).");
        }
        QCOMPARE(got, expected);
    }

    void reviewPassword_data() {
        QTest::addColumn<QByteArray>("hash");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("built-in") << QByteArray() << "marblets" << true;
        QTest::newRow("built-in, wrong") << QByteArray() << "owl pie" << false;
        QTest::newRow("own, any case") << kOwlPie << "Owl pie" << true;
        QTest::newRow("own, capitals") << kOwlPie << "OWL PIE" << true;
        QTest::newRow("own replaces the built-in") << kOwlPie << "marblets" << false;
        QTest::newRow("own, blank before") << kOwlPie << " owl pie" << false;
    }
    void reviewPassword() {
        QFETCH(QByteArray, hash);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        ProgramSettings settings;
        settings.reviewPasswordSha256 = hash;
        QCOMPARE(reviewPasswordAccepted(settings, typed.toStdString()), accepted);
    }
};

QTEST_MAIN(SettingsFileTest)
#include "test_settings_file.moc"
