// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/finding.h"

#include <algorithm>

namespace corvane::check {

bool hasErrors(const Findings& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

} // namespace corvane::check
