// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

#include <vector>

namespace corvane {

struct ClassRecord;

// Writes `bytes` under a temporary name in `folder`, flushes them to the disk and renames the
// file to `name` without replacing anything, so that readers never see half a file and
// computers sharing the folder need no locks. A file of that name holding the same bytes counts
// as written (a record sent twice is one record); beside another file the name gets a new unique
// part (withUniquePart). The file is 0640 whatever the umask; one that cannot be made readable by
// the group is not written. Returns the name written, or an empty name with the reason in
// `error`.
QString addRecordFile(const QString& folder, const QString& name, const QByteArray& bytes,
                      QString& error);

// Finishes the records that a killed program left complete under their temporary names in
// `folder`: renamed into place as addRecordFile would have. A temporary file that is no whole
// record is left alone. Returns the names placed.
std::vector<QString> finishStrandedRecords(const QString& folder);

// The bytes of a record file: a regular file, not followed through a link; empty otherwise.
QByteArray readRecordFile(const QString& path);

// Removes `path` and makes the removal durable.
void removeDurably(const QString& path);

// Saves `record` through `writer` as a new file of its own name (recordFileName).
bool saveRecord(ResultsFolder& writer, const QString& folder, const ClassRecord& record,
                QString& error);

// Writes each record under a temporary name in the folder, flushes it to the disk and renames
// it into place without replacing anything, so that readers never see half a record and
// computers sharing the folder need no locks. Records are 0640: in a drop box whose group is the
// teachers' (setgid), teachers read them and classmates do not. Nothing here lists the folder,
// so pupils need no right to list it.
class FileResultsFolder : public ResultsFolder {
  public:
    bool save(const QString& folder, const QString& name, const QByteArray& bytes,
              QString& error) override;
};

} // namespace corvane
