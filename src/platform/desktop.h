// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

namespace corvane {

// Opens documents with xdg-open, the desktop's own choice of viewer, and hears when it fails.
class DesktopDocuments : public Documents {
  public:
    void open(const std::string& path, QObject* context,
              std::function<void(const QString& reason)> failed) override;
};

// The folder the running executable lies in.
class ExecutableFolder : public ProgramFolder {
  public:
    std::string path() override;
};

} // namespace corvane
