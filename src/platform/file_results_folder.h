#pragma once

#include "platform/seams.h"

namespace corvane {

// Writes each record under a temporary name in the folder, flushes it to the disk and renames
// it into place without replacing anything, so that readers never see half a record and
// computers sharing the folder need no locks. Records are 0640: in a drop box whose group is the
// teachers' (setgid), teachers read them and classmates do not. Nothing here lists the folder,
// so pupils need no right to list it.
class FileResultsFolder : public ResultsFolder {
  public:
    bool save(const QString& folder, const ClassRecord& record, QString& error) override;
};

} // namespace corvane
