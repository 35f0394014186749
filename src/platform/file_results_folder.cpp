// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_results_folder.h"

#include "core/class_record.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace corvane {
namespace {

// Names already taken are drawn again; after this many the folder is not one we can use.
constexpr int kNameTries = 16;

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

} // namespace

QString addRecordFile(const QString& folder, const QString& name, const QByteArray& bytes,
                      QString& error) {
    const QByteArray dir = QFile::encodeName(folder) + '/';
    auto newName = [&] { return withUniquePart(name, QRandomGenerator::system()->generate()); };

    QByteArray temporary;
    int fd = -1;
    for (int i = 0; i < kNameTries && fd < 0; ++i) {
        temporary = dir + QFile::encodeName(temporaryName(i == 0 ? name : newName()));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0640);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = lastError();
        return {};
    }
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    if (::close(fd) != 0 || !written) {
        error = qt_error_string(written ? errno : writeErrno);
        ::unlink(temporary.constData());
        return {};
    }
    QString target = name;
    for (int i = 0; i < kNameTries; ++i, target = newName()) {
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
    ::unlink(temporary.constData());
    return {};
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
