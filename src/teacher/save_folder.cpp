// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/save_folder.h"

#include "teacher/library_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace corvane::teacher {

namespace {

const char* const kFolderKey = "sources/lastFolder";

// A folder that exists, can be written and is not temporary.
bool lasting(const QString& folder) {
    const QFileInfo info(folder);
    return !folder.isEmpty() && info.isDir() && info.isWritable() && !isTemporary(folder);
}

QString documentsFolder() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || isTemporary(documents)) documents = QDir::homePath();
    const QString folder = QDir(documents).filePath(QStringLiteral("Corvane Maths tests"));
    QDir().mkpath(folder);
    return folder;
}

} // namespace

QString startFolder(const QString& library) {
    const QString last = QSettings().value(QLatin1String(kFolderKey)).toString();
    if (lasting(last)) return last;
    const QString sources = sourceFolderOf(library);
    if (lasting(sources)) return sources;
    return documentsFolder();
}

void rememberFolder(const QString& chosenFile) {
    const QString folder = QFileInfo(chosenFile).absolutePath();
    if (lasting(folder)) QSettings().setValue(QLatin1String(kFolderKey), folder);
}

bool isTemporary(const QString& path) {
    const QString temp = QFileInfo(QDir::tempPath()).canonicalFilePath();
    // The nearest part of `path` that exists tells where it is.
    QFileInfo info(QFileInfo(path).absoluteFilePath());
    while (!info.exists() && info.absoluteFilePath() != info.absolutePath())
        info.setFile(info.absolutePath());
    const QString real = info.canonicalFilePath();
    return !temp.isEmpty() && temp != QDir::rootPath() &&
           (real == temp || real.startsWith(temp + QLatin1Char('/')));
}

} // namespace corvane::teacher
