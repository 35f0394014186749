// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text.h"

#include <QString>

namespace corvane::check {

// A text of a test file in double quotes, fit to print: the bytes as Latin-1 characters,
// control bytes written as \xNN.
QString quoted(const Text& text);

} // namespace corvane::check
