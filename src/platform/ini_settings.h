#pragma once

#include "platform/seams.h"

namespace corvane {

// corvane-maths.ini in the program's folder, in Qt's INI form. Only read, never written:
// without the file the program writes nothing.
class IniSettings : public Settings {
  public:
    explicit IniSettings(ProgramFolder& programFolder) : programFolder_(programFolder) {}

    // results/folder; a relative folder is taken from the program's folder.
    QString resultsFolder() override;

  private:
    ProgramFolder& programFolder_;
};

} // namespace corvane
