// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/folder_copy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace corvane::teacher {

bool copyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) return false;
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(entry.filePath()));
        const bool done =
            entry.isDir() ? QDir().mkpath(target) : QFile::copy(entry.filePath(), target);
        if (!done) return false;
    }
    return true;
}

} // namespace corvane::teacher
