#pragma once

#include "platform/seams.h"

namespace corvane {

// Opens documents with the system's viewer.
class DesktopDocuments : public Documents {
  public:
    void open(const std::string& path) override;
};

// The folder the running executable lies in.
class ExecutableFolder : public ProgramFolder {
  public:
    std::string path() override;
};

} // namespace corvane
