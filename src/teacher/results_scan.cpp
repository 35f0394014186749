// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/results_scan.h"

#include "tools/results/library_tests.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <numeric>

namespace corvane::teacher {

namespace {

// Below this many new files, threads cost more than they save.
constexpr qsizetype kParallelFrom = 64;
constexpr qint64 kMaxClassListBytes = 1 << 20;

ScannedFile readFile(const QString& path, qint64 size, const QDateTime& modified) {
    results::RecordParse read = results::readRecordFile(path);
    ScannedFile file{size, modified, nullptr, read.error};
    if (read.error.isEmpty())
        file.record = std::make_shared<const results::Record>(std::move(read.record));
    return file;
}

QStringList readClassList(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxClassListBytes) return {};
    return results::classListNames(file.readAll());
}

} // namespace

Scan scanFolder(ScanRequest request) {
    Scan scan;
    scan.folder = request.folder;
    const QString folder = QDir::cleanPath(request.folder);
    const QString classList = folder + u'/' + results::kClassListName;
    const QFileInfo root(folder);
    if (!root.isDir() || !root.isReadable()) {
        scan.error = QStringLiteral("%1 is not a folder that can be read").arg(request.folder);
        return scan;
    }
    scan.folders << root.absoluteFilePath();
    QStringList fresh;
    std::vector<std::pair<qint64, QDateTime>> freshStat;
    QDirIterator it(folder,
                    QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir()) {
            scan.folders << path;
            continue;
        }
        if (results::isTemporaryName(info.fileName())) continue;
        if (path == classList) continue;
        const qint64 size = info.size();
        const QDateTime modified = info.lastModified();
        auto known = request.known.constFind(path);
        if (known != request.known.cend() && known->size == size && known->modified == modified) {
            scan.files.insert(path, *known);
        } else {
            fresh << path;
            freshStat.emplace_back(size, modified);
        }
    }
    std::vector<ScannedFile> read(static_cast<std::size_t>(fresh.size()));
    auto readOne = [&](qsizetype i) {
        const auto& [size, modified] = freshStat[static_cast<std::size_t>(i)];
        read[static_cast<std::size_t>(i)] = readFile(fresh[i], size, modified);
    };
    std::vector<qsizetype> indices(static_cast<std::size_t>(fresh.size()));
    std::iota(indices.begin(), indices.end(), 0);
    if (fresh.size() >= kParallelFrom)
        QtConcurrent::blockingMap(indices, readOne);
    else
        std::for_each(indices.begin(), indices.end(), readOne);
    for (qsizetype i = 0; i < fresh.size(); ++i) {
        ScannedFile& file = read[static_cast<std::size_t>(i)];
        if (file.record) scan.added.push_back(file.record);
        scan.files.insert(fresh[i], std::move(file));
    }

    scan.classList = readClassList(classList);
    scan.changed =
        request.summarise || !fresh.isEmpty() || scan.files.size() != request.known.size();
    if (!scan.changed) return scan;

    QStringList paths = scan.files.keys();
    std::sort(paths.begin(), paths.end());
    scan.records.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths) {
        const ScannedFile& file = *scan.files.constFind(path);
        if (file.record)
            scan.records.push_back(*file.record);
        else
            scan.skipped.push_back({path, file.reason});
    }
    scan.tests = results::summarise(scan.records, request.choice);
    results::addHeadings(scan.tests, results::LibraryTests(request.library));
    return scan;
}

} // namespace corvane::teacher
