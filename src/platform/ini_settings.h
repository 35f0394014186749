// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

namespace corvane {

// corvane-maths.ini beside the program, else in /etc/corvane-maths/. Only read, never written:
// without the file the program writes nothing.
class IniSettings : public Settings {
  public:
    explicit IniSettings(ProgramFolder& programFolder) : programFolder_(programFolder) {}

    ProgramSettings read() override;

  private:
    ProgramFolder& programFolder_;
};

} // namespace corvane
