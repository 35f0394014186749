// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_results_folder.h"

#include "core/class_record.h"
#include "core/record_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

// Names already taken are drawn again; after this many the folder is not one we can use.
constexpr int kNameTries = 16;
// rw-r-----: the pupil writes, the teachers' group reads, classmates do not.
constexpr mode_t kRecordMode = 0640;
// Far above any record; a larger file in the kept folder is not one.
constexpr qint64 kLargestRecord = 4 * 1024 * 1024;

QString lastError() {
    return qt_error_string(errno);
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += written;
    }
    return true;
}

// Renames without replacing: fails with EEXIST when `to` is there. Falls back to a hard link
// where the file system has no such rename, and to a check before renaming where it has no
// links either (some network shares).
bool renameNoReplace(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return true;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != ENOSYS) return false;
    if (::access(to.constData(), F_OK) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.constData(), to.constData()) == 0;
}

void syncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd); // the rename's durability; folders that cannot be synced still hold the file
    ::close(fd);
}

// True when the file at `path` holds exactly `bytes`.
bool holds(const QByteArray& path, const QByteArray& bytes) {
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) && file.size() == bytes.size() && file.readAll() == bytes;
}

QString newName(const QString& name) {
    return withUniquePart(name, QRandomGenerator::system()->generate());
}

// Renames the complete file `temporary` (holding `bytes`) in `dir` to `name`, or to `name`
// with a new unique part beside another file; a file of that name with the same bytes is the
// record already there, and `temporary` is removed.
QString placeFile(const QByteArray& dir, const QByteArray& temporary, const QString& name,
                  const QByteArray& bytes, QString& error) {
    QString target = name;
    for (int i = 0; i < kNameTries; ++i, target = newName(name)) {
        const QByteArray path = dir + QFile::encodeName(target);
        if (renameNoReplace(temporary, path)) {
            syncFolder(dir);
            return target;
        }
        if (errno != EEXIST) break;
        if (i == 0 && holds(path, bytes)) {
            ::unlink(temporary.constData());
            return target;
        }
    }
    error = lastError();
    return {};
}

// Makes the open file 0640 whatever the umask, so that the teachers' group reads it. A file
// system that keeps its own modes will do when they let the group read.
bool readableByTheGroup(int fd, QString& error) {
    if (::fchmod(fd, kRecordMode) == 0) return true;
    const int chmodErrno = errno;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && (status.st_mode & S_IRGRP)) return true;
    error = QStringLiteral("the record could not be made readable by the teacher (%1)")
                .arg(qt_error_string(chmodErrno));
    return false;
}

// The bytes of the regular file at `path`, opened without following a link or waiting on a
// pipe; empty when it is something else, unreadable or over `limit` bytes.
QByteArray regularFileBytes(const QByteArray& path, qint64 limit) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    QByteArray bytes;
    struct stat status {};
    QFile file;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= limit &&
        file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        bytes = file.readAll();
    else
        ::close(fd);
    return bytes;
}

} // namespace

QString addRecordFile(const QString& folder, const QString& name, const QByteArray& bytes,
                      QString& error) {
    const QByteArray dir = QFile::encodeName(folder) + '/';
    QByteArray temporary;
    int fd = -1;
    for (int i = 0; i < kNameTries && fd < 0; ++i) {
        temporary = dir + QFile::encodeName(temporaryName(i == 0 ? name : newName(name)));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kRecordMode);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = lastError();
        return {};
    }
    const bool readable = readableByTheGroup(fd, error);
    const bool written = readable && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    if (::close(fd) != 0 || !written) {
        if (readable) error = qt_error_string(written ? errno : writeErrno);
        ::unlink(temporary.constData());
        return {};
    }
    const QString placed = placeFile(dir, temporary, name, bytes, error);
    if (placed.isEmpty()) ::unlink(temporary.constData());
    return placed;
}

std::vector<QString> finishStrandedRecords(const QString& folder) {
    const QByteArray dir = QFile::encodeName(folder) + '/';
    std::vector<QString> finished;
    static const QRegularExpression stranded(QStringLiteral("^\\.(.+\\.csv)\\.tmp$"));
    const QStringList names = QDir(folder).entryList(
        {QStringLiteral(".*.csv.tmp")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& temporary : names) {
        const QRegularExpressionMatch match = stranded.match(temporary);
        if (!match.hasMatch()) continue;
        const QByteArray path = dir + QFile::encodeName(temporary);
        const QByteArray bytes = regularFileBytes(path, kLargestRecord);
        // A record cut short ends inside its data line, or holds no data line yet.
        if (!bytes.endsWith('\n') || !parseRecord(bytes).error.isEmpty()) continue;
        QString error;
        const QString name = placeFile(dir, path, match.captured(1), bytes, error);
        if (!name.isEmpty()) finished.push_back(name);
    }
    return finished;
}

QByteArray readRecordFile(const QString& path) {
    return regularFileBytes(QFile::encodeName(path), kLargestRecord);
}

void removeDurably(const QString& path) {
    if (::unlink(QFile::encodeName(path).constData()) == 0)
        syncFolder(QFile::encodeName(QFileInfo(path).path()));
}

bool saveRecord(ResultsFolder& writer, const QString& folder, const ClassRecord& record,
                QString& error) {
    return writer.save(folder, recordFileName(record, QRandomGenerator::system()->generate()),
                       recordCsv(record), error);
}

bool FileResultsFolder::save(const QString& folder, const QString& name, const QByteArray& bytes,
                             QString& error) {
    return !addRecordFile(folder, name, bytes, error).isEmpty();
}

} // namespace corvane
