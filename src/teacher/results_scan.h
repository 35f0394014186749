// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading a results folder again and again while pupils finish: each scan lists the folder and
// reads only the files it has not seen (records are written once and never changed).
#include "tools/results/folder.h"
#include "tools/results/summary.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace corvane::teacher {

struct ScannedFile {
    qint64 size = 0;
    qint64 modifiedNs = 0;
    std::shared_ptr<const results::Record> record; // null when the file is not a record
    QString reason;                                // why it is not
};

using ScanCache = QHash<QString, ScannedFile>; // by path

struct ScanRequest {
    QString folder;
    QString library; // the test library the questions' headings come from
    results::AttemptChoice choice = results::AttemptChoice::Latest;
    ScanCache known;                        // what the last scan read
    bool summarise = true;                  // false: summarise only when a file came or went
    std::vector<results::Skipped> unlisted; // what the last scan's listing skipped
};

struct Scan {
    QString folder;
    QString error;       // the folder cannot be read
    bool changed = true; // false: the files were those known; records and tests are left empty
    ScanCache files;
    QStringList folders; // the folder and every sub-folder read, for the change notices
    std::vector<results::Skipped> unlisted; // what the listing skipped (links, FIFOs, folders)
    std::vector<std::shared_ptr<const results::Record>> added; // read by this scan
    std::vector<results::Record> records;
    // By path: folders that cannot be read, links, FIFOs, files that are no records, copies;
    // files being written are not listed.
    std::vector<results::Skipped> skipped;
    std::vector<results::TestSummary> tests;
    QStringList classList; // class.txt of the folder; empty when it has none
};

// Lists the folder, reads what is new, and summarises every record. Safe off the window's thread.
Scan scanFolder(ScanRequest request);

} // namespace corvane::teacher
