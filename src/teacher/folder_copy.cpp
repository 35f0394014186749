// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/folder_copy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace corvane::teacher {

// A link is copied as the file it leads to only when that is a file inside the folder, and
// nothing else is copied (a link out, a device, a FIFO): a page folder shows nothing from
// outside itself.
bool copyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) return false;
    const QString inside = QFileInfo(from).canonicalFilePath() + QLatin1Char('/');
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(entry.filePath()));
        if (entry.isSymLink() && !entry.canonicalFilePath().startsWith(inside)) continue;
        const bool done = entry.isDir() && !entry.isSymLink() ? QDir().mkpath(target)
                          : entry.isFile() ? QFile::copy(entry.canonicalFilePath(), target)
                                           : true;
        if (!done) return false;
    }
    return true;
}

} // namespace corvane::teacher
