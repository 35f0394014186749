// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/results/folder.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

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

// Why an entry of this type is not read; empty for a regular file or a folder.
QString typeProblem(mode_t mode) {
    if (S_ISREG(mode) || S_ISDIR(mode)) return {};
    if (S_ISLNK(mode)) return QStringLiteral("a link, not followed");
    if (S_ISFIFO(mode)) return QStringLiteral("a FIFO, not a record file");
    if (S_ISSOCK(mode)) return QStringLiteral("a socket, not a record file");
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("a device, not a record file");
    return QStringLiteral("not a regular file");
}

QString folderError(int error) {
    return QStringLiteral("folder cannot be read: ") + qt_error_string(error);
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// Lists the folder open as `fd` (taken over) at `path`. Sub-folders are opened from their
// parent without following a link, so a folder swapped for a link is not entered either.
void listOpenFolder(int fd, const QString& path, bool top, FolderListing& listing) {
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        const int error = errno;
        ::close(fd);
        listing.skipped.push_back({path, folderError(error)});
        return;
    }
    listing.folders << path;
    std::vector<QByteArray> names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const QByteArray& name : names) {
        const QString entryPath = path + QLatin1Char('/') + QFile::decodeName(name);
        struct stat st {};
        if (::fstatat(::dirfd(dir.get()), name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            listing.skipped.push_back(
                {entryPath, QStringLiteral("cannot be read: ") + qt_error_string(errno)});
            continue;
        }
        const bool classList = top && QFile::decodeName(name) == kClassListName;
        if (S_ISDIR(st.st_mode)) {
            const int sub = ::openat(::dirfd(dir.get()), name.constData(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub < 0)
                listing.skipped.push_back({entryPath, folderError(errno)});
            else
                listOpenFolder(sub, entryPath, false, listing);
        } else if (const QString problem = typeProblem(st.st_mode); !problem.isEmpty()) {
            listing.skipped.push_back({entryPath, problem});
        } else if (!classList) {
            listing.files.push_back(
                {entryPath, static_cast<qint64>(st.st_size),
                 static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec});
        }
    }
}

QString recordKey(const Record& r) {
    QString key = r.pupil.simplified().normalized(QString::NormalizationForm_C).toCaseFolded();
    key += QChar(0x1f) + r.test + QChar(0x1f) + r.checksum + QChar(0x1f) +
           QString::number(r.finished.toMSecsSinceEpoch()) + QChar(0x1f) + QString::number(r.score);
    for (const QuestionResult& q : r.questions)
        key += QChar(0x1f) + QString(q.right ? u'1' : u'0') + q.answer;
    return key;
}

// The record kept of two copies: nearer the top of the folder, then the shorter path, then the
// first path.
bool keptBefore(const Record& a, const Record& b) {
    const auto depth = [](const Record& r) { return r.file.count(QLatin1Char('/')); };
    if (depth(a) != depth(b)) return depth(a) < depth(b);
    if (a.file.size() != b.file.size()) return a.file.size() < b.file.size();
    return a.file < b.file;
}

} // namespace

FolderListing listFolder(const QString& folder) {
    FolderListing listing;
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        listing.skipped.push_back({folder, folderError(errno)});
    else
        listOpenFolder(fd, folder, true, listing);
    std::sort(listing.files.begin(), listing.files.end(),
              [](const FolderFile& a, const FolderFile& b) { return a.path < b.path; });
    std::sort(listing.skipped.begin(), listing.skipped.end(),
              [](const Skipped& a, const Skipped& b) { return a.path < b.path; });
    return listing;
}

QString readRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP) return QStringLiteral("a link, not followed");
        return QStringLiteral("cannot be read: ") + qt_error_string(errno);
    }
    struct stat st {};
    QString problem;
    if (::fstat(fd, &st) != 0)
        problem = QStringLiteral("cannot be read: ") + qt_error_string(errno);
    else if (!S_ISREG(st.st_mode))
        problem = typeProblem(st.st_mode);
    else if (st.st_size > maxBytes)
        problem = QStringLiteral("too large to be a record");
    bytes.clear();
    while (problem.isEmpty()) {
        char buffer[16384];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) problem = QStringLiteral("cannot be read: ") + qt_error_string(errno);
        if (got <= 0) break;
        bytes.append(buffer, got);
        if (bytes.size() > maxBytes) problem = QStringLiteral("too large to be a record");
    }
    ::close(fd);
    if (!problem.isEmpty()) bytes.clear();
    return problem;
}

RecordParse readRecordFile(const QString& path) {
    RecordParse read;
    read.error = nameProblem(QFileInfo(path).fileName());
    if (!read.error.isEmpty()) return read;
    QByteArray bytes;
    read.error = readRegularFile(path, kMaxRecordBytes, bytes);
    if (!read.error.isEmpty()) return read;
    read = parseRecord(bytes);
    read.record.file = path;
    return read;
}

bool isTemporaryName(const QString& name) {
    return name.startsWith(QLatin1Char('.')) && name.endsWith(QLatin1String(".tmp"));
}

std::vector<Skipped> removeCopies(std::vector<Record>& records) {
    QHash<QString, std::size_t> kept; // key -> index into records
    std::vector<bool> copy(records.size(), false);
    std::vector<Skipped> skipped;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const QString key = recordKey(records[i]);
        auto found = kept.find(key);
        if (found == kept.end()) {
            kept.insert(key, i);
        } else if (keptBefore(records[i], records[*found])) {
            copy[*found] = true;
            *found = i;
        } else {
            copy[i] = true;
        }
    }
    for (std::size_t i = 0; i < records.size(); ++i)
        if (copy[i])
            skipped.push_back(
                {records[i].file, QStringLiteral("a copy of ") +
                                      records[*kept.constFind(recordKey(records[i]))].file});
    std::vector<Record> originals;
    originals.reserve(records.size() - skipped.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        if (!copy[i]) originals.push_back(std::move(records[i]));
    records = std::move(originals);
    return skipped;
}

FolderRecords readRecordsIn(const QString& folder) {
    FolderListing listing = listFolder(folder);
    FolderRecords found;
    found.skipped = std::move(listing.skipped);
    for (const FolderFile& file : listing.files) {
        RecordParse read = readRecordFile(file.path);
        if (read.error.isEmpty())
            found.records.push_back(std::move(read.record));
        else
            found.skipped.push_back({file.path, read.error});
    }
    std::vector<Skipped> copies = removeCopies(found.records);
    found.skipped.insert(found.skipped.end(), copies.begin(), copies.end());
    std::sort(found.skipped.begin(), found.skipped.end(),
              [](const Skipped& a, const Skipped& b) { return a.path < b.path; });
    return found;
}

} // namespace corvane::results
