// SPDX-License-Identifier: GPL-3.0-or-later
// The program finds its folder through the real path of its executable: started through a
// link such as /usr/bin/corvane-maths, it still reads the tests beside the executable. This
// program starts itself through links and compares the folder it reports.

#include "platform/desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

const char* const kPrintFolder = "--print-program-folder";

} // namespace

class ProgramFolderTest : public QObject {
    Q_OBJECT

  private slots:
    void realFolderThroughLinks_data() {
        // Each link points to the one before; the first to this program.
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<bool>("relative");
        QTest::newRow("absolute link") << QStringList{"bin/program"} << false;
        QTest::newRow("relative link") << QStringList{"bin/program"} << true;
        QTest::newRow("link to a link") << QStringList{"opt/program", "bin/program"} << false;
    }

    void realFolderThroughLinks() {
        QFETCH(QStringList, links);
        QFETCH(bool, relative);
        const QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString target = QCoreApplication::applicationFilePath();
        for (const QString& name : links) {
            const QString link = dir.filePath(name);
            QVERIFY(QDir().mkpath(QFileInfo(link).path()));
            const QString pointer =
                relative ? QDir(QFileInfo(link).path()).relativeFilePath(target) : target;
            QVERIFY(QFile::link(pointer, link));
            target = link;
        }

        QProcess program;
        program.setWorkingDirectory(dir.path());
        program.start(target, {kPrintFolder});
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.exitCode(), 0);
        const QString realFolder =
            QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath();
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()),
                 QDir::toNativeSeparators(realFolder));
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], kPrintFolder) == 0) {
        std::fputs(corvane::ExecutableFolder().path().c_str(), stdout);
        return 0;
    }
    ProgramFolderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_program_folder.moc"
