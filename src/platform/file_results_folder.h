// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

namespace corvane {

struct ClassRecord;

// Writes `bytes` under a temporary name in `folder`, flushes them to the disk and renames the
// file to `name` without replacing anything, so that readers never see half a file and
// computers sharing the folder need no locks. A file of that name holding the same bytes counts
// as written (a record sent twice is one record); beside another file the name gets a new unique
// part (withUniquePart). Returns the name written, or an empty name with the reason in `error`.
QString addRecordFile(const QString& folder, const QString& name, const QByteArray& bytes,
                      QString& error);

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
