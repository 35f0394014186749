#include "platform/file_results_folder.h"

#include "core/class_record.h"

#include <QFile>
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

} // namespace

bool FileResultsFolder::save(const QString& folder, const ClassRecord& record, QString& error) {
    const QByteArray bytes = recordCsv(record);
    const QByteArray dir = QFile::encodeName(folder) + '/';
    auto newName = [&] { return recordFileName(record, QRandomGenerator::system()->generate()); };

    QByteArray temporary;
    int fd = -1;
    for (int i = 0; i < kNameTries && fd < 0; ++i) {
        temporary = dir + QFile::encodeName(temporaryName(newName()));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0640);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = lastError();
        return false;
    }
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    if (::close(fd) != 0 || !written) {
        error = qt_error_string(written ? errno : writeErrno);
        ::unlink(temporary.constData());
        return false;
    }
    for (int i = 0; i < kNameTries; ++i) {
        if (renameNoReplace(temporary, dir + QFile::encodeName(newName()))) {
            syncFolder(dir);
            return true;
        }
        if (errno != EEXIST) break;
    }
    error = lastError();
    ::unlink(temporary.constData());
    return false;
}

} // namespace corvane
