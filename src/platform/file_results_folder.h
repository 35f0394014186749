#pragma once

#include "platform/seams.h"

namespace corvane {

// Writes each record under a temporary name in the folder, flushes it to the disk and renames
// it into place without replacing anything, so that readers never see half a record and
// computers sharing the folder need no locks.
class FileResultsFolder : public ResultsFolder {
  public:
    bool save(const QString& folder, const ClassRecord& record, QString& error) override;
};

} // namespace corvane
