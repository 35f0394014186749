// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/check/finding.h"

#include <string_view>

namespace corvane::check {

// Everything wrong with the bytes of one test file, sorted by line: load failures, the count,
// the layout of the lines, and every question's fields.
Findings checkContent(std::string_view bytes);

} // namespace corvane::check
