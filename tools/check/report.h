// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/check/finding.h"

#include <QString>

namespace corvane::check {

// The text printed for one test file: "<path>: OK", or a heading with the counts and one
// entry per finding (where, severity, explanation, and the fix on its own line).
QString formatReport(const QString& path, const Findings& findings);

} // namespace corvane::check
