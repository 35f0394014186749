// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text.h"

namespace corvane {

// The routines that bring typed answers and answer lines into a common form before they are
// compared byte for byte. All are pure and accept any text.
Text removespace(const Text& text);
Text tocomma(const Text& text);
Text totime(const Text& text);
bool isnumchar(char c);
Text topair(const Text& text);

} // namespace corvane
