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

// Reads every file under `folder` and its sub-folders, in the order of their paths.
FolderRecords readRecordsIn(const QString& folder);

} // namespace corvane::results
