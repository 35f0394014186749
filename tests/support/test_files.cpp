// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace corvane::testing {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
    return path;
}

ToolRun runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) qFatal("%s did not finish", qPrintable(program));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray crlfLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

void answerFive(QuestionStore& store, int right) {
    store.questionCount = 5;
    for (int q = 1; q <= 5; ++q) {
        store.questionType[q] = KSINGLECHOICE;
        store.optionCount[q] = 2;
        store.answerKey[q][1] = 1;
        store.userMarks[q][1] = q <= right;
        store.userMarks[q][2] = q > right;
    }
}

} // namespace corvane::testing
