// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/check/finding.h"
#include "tools/check/scanner.h"

#include <optional>

namespace corvane::check {

// What is wrong with the type line of a question, if anything. A type line that looks like a
// closing line or a number gives an OutOfStep finding.
std::optional<Finding> checkTypeLine(const ScannedQuestion& question);

// An OutOfStep finding when the closing line looks like a type line or a number.
std::optional<Finding> checkClosingLine(const ScannedQuestion& question);

// The fields of a question whose block was read whole: option count, key, answers, extras.
Findings checkQuestionFields(const ScannedQuestion& question);

} // namespace corvane::check
