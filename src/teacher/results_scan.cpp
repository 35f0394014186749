// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/results_scan.h"

#include "tools/results/library_tests.h"

#include <QDir>
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

ScannedFile readFile(const results::FolderFile& found) {
    results::RecordParse read = results::readRecordFile(found.path);
    ScannedFile file{found.size, found.modifiedNs, nullptr, read.error};
    if (read.error.isEmpty())
        file.record = std::make_shared<const results::Record>(std::move(read.record));
    return file;
}

QStringList readClassList(const QString& path, std::vector<results::Skipped>& skipped) {
    QByteArray bytes;
    const QString problem = results::readRegularFile(path, kMaxClassListBytes, bytes);
    if (problem.isEmpty()) return results::classListNames(bytes);
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) skipped.push_back({path, problem});
    return {};
}

} // namespace

Scan scanFolder(ScanRequest request) {
    Scan scan;
    scan.folder = request.folder;
    const QString folder = QDir::cleanPath(request.folder);
    const QFileInfo root(folder);
    if (!root.isDir() || !root.isReadable()) {
        scan.error = QStringLiteral("%1 is not a folder that can be read").arg(request.folder);
        return scan;
    }
    results::FolderListing listing = results::listFolder(folder);
    scan.folders = std::move(listing.folders);
    scan.unlisted = std::move(listing.skipped);
    // Files being written are left out; a file read before and unchanged is not read again.
    std::erase_if(listing.files, [](const results::FolderFile& found) {
        return results::isTemporaryName(found.path.mid(found.path.lastIndexOf(u'/') + 1));
    });
    const auto known = [&](const results::FolderFile& found) {
        const auto file = request.known.constFind(found.path);
        return file != request.known.cend() && file->size == found.size &&
               file->modifiedNs == found.modifiedNs;
    };
    std::vector<results::FolderFile> fresh;
    for (const results::FolderFile& found : listing.files)
        if (!known(found)) fresh.push_back(found);
    if (fresh.empty() && listing.files.size() == static_cast<std::size_t>(request.known.size())) {
        scan.files = request.known; // the same files: shared, not copied
    } else {
        for (const results::FolderFile& found : listing.files)
            if (known(found)) scan.files.insert(found.path, *request.known.constFind(found.path));
    }
    std::vector<ScannedFile> read(fresh.size());
    auto readOne = [&](std::size_t i) { read[i] = readFile(fresh[i]); };
    std::vector<std::size_t> indices(fresh.size());
    std::iota(indices.begin(), indices.end(), 0);
    if (static_cast<qsizetype>(fresh.size()) >= kParallelFrom)
        QtConcurrent::blockingMap(indices, readOne);
    else
        std::for_each(indices.begin(), indices.end(), readOne);
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        ScannedFile& file = read[i];
        if (file.record) scan.added.push_back(file.record);
        scan.files.insert(fresh[i].path, std::move(file));
    }

    std::vector<results::Skipped> classListProblem;
    scan.classList = readClassList(folder + u'/' + results::kClassListName, classListProblem);
    scan.unlisted.insert(scan.unlisted.end(), classListProblem.begin(), classListProblem.end());
    scan.changed = request.summarise || !fresh.empty() ||
                   scan.files.size() != request.known.size() || scan.unlisted != request.unlisted;
    if (!scan.changed) return scan;

    QStringList paths = scan.files.keys();
    std::sort(paths.begin(), paths.end());
    scan.records.reserve(static_cast<std::size_t>(paths.size()));
    scan.skipped = scan.unlisted;
    for (const QString& path : paths) {
        const ScannedFile& file = *scan.files.constFind(path);
        if (file.record)
            scan.records.push_back(*file.record);
        else
            scan.skipped.push_back({path, file.reason});
    }
    std::vector<results::Skipped> copies = results::removeCopies(scan.records);
    scan.skipped.insert(scan.skipped.end(), copies.begin(), copies.end());
    std::sort(scan.skipped.begin(), scan.skipped.end(),
              [](const auto& a, const auto& b) { return a.path < b.path; });
    scan.tests = results::summarise(scan.records, request.choice);
    results::addHeadings(scan.tests,
                         results::LibraryTests(request.library, results::keptVersionsFolder()));
    return scan;
}

} // namespace corvane::teacher
