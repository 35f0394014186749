// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/library_folder.h"

#include "core/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace corvane::teacher {

QString libraryFolder() {
    const QString program = QCoreApplication::applicationDirPath();
    return testFolders(readToolSettings("corvane-teacher"), program).front();
}

QString sourceFolderOf(const QString& library) {
    return QFileInfo(library).absoluteDir().filePath(QStringLiteral("source"));
}

} // namespace corvane::teacher
