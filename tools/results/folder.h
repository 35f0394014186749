// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/results/record.h"

#include <QString>

#include <vector>

namespace corvane::results {

struct Skipped {
    QString path;
    QString reason;
};

struct FolderRecords {
    std::vector<Record> records;
    std::vector<Skipped> skipped; // folders that cannot be read, files that are no records
};

// The class list a results folder may hold beside its records (one pupil's name a line).
inline const QString kClassListName = QStringLiteral("class.txt");

// Reads one file found under a results folder: the record, or in `error` why it is none.
RecordParse readRecordFile(const QString& path);

// True for the name a record has while it is being written ("." + name + ".tmp").
bool isTemporaryName(const QString& name);

// Reads every file under `folder` and its sub-folders, in the order of their paths; the
// folder's class list is not a record and is left out.
FolderRecords readRecordsIn(const QString& folder);

} // namespace corvane::results
