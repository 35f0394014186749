// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/results/folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <dirent.h>

namespace corvane::results {

namespace {

// A record of 30 questions with long answers stays far below this; anything larger is not
// read into memory.
constexpr qint64 kMaxRecordBytes = 1 << 20;

// Why a file of this name is no record; empty when it may be one. A writer saves under
// "." + final name + ".tmp" and renames when done.
QString nameProblem(const QString& name) {
    if (isTemporaryName(name)) return QStringLiteral("temporary file");
    if (name.startsWith(QLatin1Char('.'))) return QStringLiteral("hidden file, not a record");
    if (!name.endsWith(QLatin1String(".csv")))
        return QStringLiteral("not a record file (the name does not end in .csv)");
    return {};
}

QString readRecord(const QString& path, Record& record) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read: ") + file.errorString();
    if (file.size() > kMaxRecordBytes) return QStringLiteral("too large to be a record");
    const QByteArray bytes = file.read(kMaxRecordBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("cannot be read: ") + file.errorString();
    RecordParse parse = parseRecord(bytes);
    record = std::move(parse.record);
    record.file = path;
    return parse.error;
}

// Adds the files under `folder` to `paths`, and each folder that cannot be read to `skipped`.
// Links to folders are not followed.
void listFiles(const QString& folder, QStringList& paths, std::vector<Skipped>& skipped) {
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        skipped.push_back(
            {folder, QStringLiteral("folder cannot be read: ") + qt_error_string(errno)});
        return;
    }
    ::closedir(dir);
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink())
            listFiles(entry.filePath(), paths, skipped);
        else if (!entry.isDir())
            paths << entry.filePath();
    }
}

} // namespace

RecordParse readRecordFile(const QString& path) {
    RecordParse read;
    read.error = nameProblem(QFileInfo(path).fileName());
    if (read.error.isEmpty()) read.error = readRecord(path, read.record);
    return read;
}

bool isTemporaryName(const QString& name) {
    return name.startsWith(QLatin1Char('.')) && name.endsWith(QLatin1String(".tmp"));
}

FolderRecords readRecordsIn(const QString& folder) {
    QStringList paths;
    FolderRecords found;
    listFiles(folder, paths, found.skipped);
    const QString classList = QDir(folder).absoluteFilePath(kClassListName);
    paths.removeIf(
        [&](const QString& path) { return QFileInfo(path).absoluteFilePath() == classList; });
    std::sort(paths.begin(), paths.end());

    for (const QString& path : paths) {
        RecordParse read = readRecordFile(path);
        if (read.error.isEmpty())
            found.records.push_back(std::move(read.record));
        else
            found.skipped.push_back({path, read.error});
    }
    return found;
}

} // namespace corvane::results
