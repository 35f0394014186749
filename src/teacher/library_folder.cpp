#include "teacher/library_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace corvane::teacher {

QString libraryFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/test");
}

QString sourceFolderOf(const QString& library) {
    return QFileInfo(library).absoluteDir().filePath(QStringLiteral("source"));
}

} // namespace corvane::teacher
