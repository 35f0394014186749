// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading a results folder, which every pupil can write to: nothing in it is trusted. Links are
// never followed, and only regular files are opened, without waiting (a FIFO or a device is
// named and skipped at once).
#include "tools/results/record.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace corvane::results {

struct Skipped {
    QString path;
    QString reason;
    bool operator==(const Skipped&) const = default;
};

struct FolderRecords {
    std::vector<Record> records;
    std::vector<Skipped> skipped; // folders that cannot be read, files that are no records
};

// A regular file found under a results folder, with what tells a changed file from the one read.
struct FolderFile {
    QString path;
    qint64 size = 0;
    qint64 modifiedNs = 0; // since the epoch
};

struct FolderListing {
    std::vector<FolderFile> files; // by path; the folder's class list is not among them
    QStringList folders;           // the folder and every sub-folder that was read
    std::vector<Skipped> skipped;  // folders that cannot be read, links, FIFOs, devices, sockets
};

// The class list a results folder may hold beside its records (one pupil's name a line).
inline const QString kClassListName = QStringLiteral("class.txt");

// Lists `folder` and its sub-folders without following a link, in the order of their paths.
// `folder` itself is taken as given; a link inside it is skipped.
FolderListing listFolder(const QString& folder);

// Reads a file that must be a regular file of at most `maxBytes`, never following a link and
// never waiting on a FIFO or device. Returns why it cannot be read; empty when `bytes` holds it.
QString readRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes);

// Reads one file found under a results folder: the record, or in `error` why it is none.
RecordParse readRecordFile(const QString& path);

// True for the name a record has while it is being written ("." + name + ".tmp").
bool isTemporaryName(const QString& name);

// Takes out the records that are copies of another (the same pupil, test, finishing time and
// answers, whatever the file's name or folder) and returns them as skipped, "a copy of …". The
// record kept is the one nearest the top of the folder, then the shortest path.
std::vector<Skipped> removeCopies(std::vector<Record>& records);

// Reads every file under `folder` and its sub-folders, in the order of their paths; the
// folder's class list is not a record and is left out, and copies count once.
FolderRecords readRecordsIn(const QString& folder);

} // namespace corvane::results
