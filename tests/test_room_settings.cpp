// SPDX-License-Identifier: GPL-3.0-or-later
// The window under a room's settings: the shared library (with or without the samples), no
// display offer, the settings' mistake told once at the first Finish, the school's review
// password, and the help that cannot be opened.
#include "platform/desktop.h"
#include "pupil/file_list_box.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"
#include "support/test_files.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QtTest>

using namespace corvane;
using namespace corvane::testing;

namespace {

const QByteArray kOneWordTest =
    crlfLines({"1", "KWORD", "comment", "0", "0", "0", "0", "0", "0", "cat", "---"});

struct Room {
    Room() {
        writeFile(program, "test/Sample.txt", kOneWordTest);
        writeFile(program, "test/Both.txt", kOneWordTest);
        writeFile(shared, "Shared.txt", kOneWordTest);
        writeFile(shared, "Both.txt", kOneWordTest);
        desktop.display.size = {1024, 768};
        desktop.programFolder.folder = QFile::encodeName(program.path()).toStdString();
        desktop.settings.values.libraryFolder = shared.path();
    }
    void open() {
        form = std::make_unique<TForm1>(desktop.seams());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    // One question answered and finished, as a pupil would.
    void finish() {
        form->pupilName = "Ann";
        form->store.questionCount = 1;
        TForm1::hidePanel(form->ResultPanel);
        TForm1::showPanel(form->QuestionPanel);
        form->currentQuestion = 1;
        form->reviewMode = 0;
        desktop.dialogs.yesAnswers = {true}; // "finish anyway"
        QTest::mouseClick(form->IFinish, Qt::LeftButton);
        QVERIFY(form->ResultPanel->isVisible());
    }

    QTemporaryDir program, shared;
    FakeDesktop desktop;
    std::unique_ptr<TForm1> form;
};

} // namespace

class RoomSettingsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { registerFontSubstitutes(); }

    // The shared tests, with the samples when asked; a shared test hides the sample of its
    // name and is the one loaded.
    void sharedLibrary_data() {
        QTest::addColumn<bool>("samples");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("with samples")
            << true << QStringList{"Both.txt", "Sample.txt", "Shared.txt"};
        QTest::newRow("shared only") << false << QStringList{"Both.txt", "Shared.txt"};
    }
    void sharedLibrary() {
        QFETCH(bool, samples);
        QFETCH(QStringList, listed);
        Room room;
        room.desktop.settings.values.librarySamples = samples;
        room.open();
        QCOMPARE(room.form->FileList->entries(), listed);
        for (const QString& name : listed) {
            QListWidgetItem* item = room.form->FileList->findItems(name, Qt::MatchExactly).front();
            const QPoint centre = room.form->FileList->visualItemRect(item).center();
            QTest::mousePress(room.form->FileList->viewport(), Qt::LeftButton, {}, centre);
            const QTemporaryDir& home = name == "Sample.txt" ? room.program : room.shared;
            const QString folder = name == "Sample.txt" ? home.filePath("test") : home.path();
            QCOMPARE(QString::fromStdString(room.form->testFilePath), folder + "/" + name);
            QCOMPARE(room.form->store.questionCount, 1);
        }
        QVERIFY(room.desktop.dialogs.texts("error").isEmpty());
    }

    void displayOfferNever() {
        Room room;
        room.desktop.settings.values.displayOffer = DisplayOffer::Never;
        room.open();
        QVERIFY(room.desktop.dialogs.shown.empty());
        QVERIFY(room.desktop.display.modes.empty());
    }

    // Told on the start screen, where the teacher looks before a pupil starts, and not again
    // over the results screen; the line goes once the file is put right.
    void settingsMistakeToldAtStart() {
        Room room;
        room.desktop.settings.values.problems = {
            {4, "\"offer\" must be ask or never, not \"off\"", {}, {}, "display"}};
        room.desktop.settings.values.file = "/etc/corvane-maths/corvane-maths.ini";
        room.open();
        QVERIFY(room.form->SettingsNote->isVisible());
        QCOMPARE(room.form->SettingsNote->text(),
                 "The class record is off: corvane-maths.ini line 4: \"offer\" must be ask or "
                 "never, not \"off\" (/etc/corvane-maths/corvane-maths.ini)");
        room.finish();
        QVERIFY(room.desktop.dialogs.texts("message").isEmpty());

        room.desktop.settings.values.problems.clear();
        room.form->FormActivate(nullptr);
        QVERIFY(!room.form->SettingsNote->isVisible());
    }

    void schoolsReviewPassword_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("opens");
        QTest::newRow("the school's") << "owl pie" << true;
        QTest::newRow("the built-in") << "marblets" << false;
    }
    void schoolsReviewPassword() {
        QFETCH(QString, typed);
        QFETCH(bool, opens);
        Room room;
        room.desktop.settings.values.reviewPasswordSha256 =
            QCryptographicHash::hash("OWL PIE", QCryptographicHash::Sha256).toHex();
        room.open();
        room.finish();
        room.desktop.dialogs.inputAnswers = {typed};
        QTest::mouseClick(room.form->IReview, Qt::LeftButton);
        QCOMPARE(room.form->reviewMode == 1, opens);
    }

    void helpThatCannotOpenIsTold() {
        Room room;
        room.desktop.documents.failure = "no program to show it is installed";
        room.open();
        room.desktop.dialogs.clear();
        TForm1::showPanel(room.form->QuestionPanel);
        QTest::mouseClick(room.form->IHelp, Qt::LeftButton);
        QCOMPARE(room.desktop.dialogs.texts("message"),
                 QStringList{"The help could not be opened: no program to show it is installed. "
                             "It is the file " +
                             room.program.path() + "/LumbrelHelp.pdf."});
    }

    // The real opener: xdg-open's failure is heard, never waited for; its success is silent.
    void desktopDocumentsTellFailure_data() {
        QTest::addColumn<QString>("opener"); // the script standing in for xdg-open; empty: none
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<QString>("reason"); // empty: no failure
        QTest::newRow("opened") << "exit 0" << true << "";
        QTest::newRow("no viewer") << "exit 3" << true << "no program to show it is installed";
        QTest::newRow("viewer failed") << "exit 4" << true << "the program to show it failed";
        QTest::newRow("no xdg-open") << "" << true << "xdg-open (package xdg-utils) is missing";
        QTest::newRow("no file") << "exit 0" << false << "the file is missing";
    }
    void desktopDocumentsTellFailure() {
        QFETCH(QString, opener);
        QFETCH(bool, fileThere);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString help = dir.filePath("LumbrelHelp.pdf");
        if (fileThere) writeFile(dir, "LumbrelHelp.pdf", "%PDF-1.4\n");
        if (!opener.isEmpty()) {
            writeFile(dir, "bin/xdg-open", ("#!/bin/sh\n" + opener + "\n").toUtf8());
            QFile::setPermissions(dir.filePath("bin/xdg-open"), QFile::ReadOwner | QFile::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.filePath("bin")));
        QObject context;
        QStringList failures;
        DesktopDocuments().open(help.toStdString(), &context,
                                [&](const QString& why) { failures << why; });
        qputenv("PATH", path);
        const QStringList expected = reason.isEmpty() ? QStringList{} : QStringList{reason};
        if (!reason.isEmpty()) QTRY_COMPARE(failures, expected);
        QTest::qWait(300); // a success stays silent, a failure is told once
        QCOMPARE(failures, expected);
    }
};

QTEST_MAIN(RoomSettingsTest)
#include "test_room_settings.moc"
