// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

namespace corvane {

// The system's print dialog (Qt Print Support); the report is painted on the chosen printer.
class QtReportPrinter : public ReportPrinter {
  public:
    void setOwner(QWidget* owner) { owner_ = owner; }
    bool print(const Report& report) override;

  private:
    QWidget* owner_ = nullptr;
};

} // namespace corvane
