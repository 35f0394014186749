// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text.h"

namespace corvane {

// The message as the error box shows it: a full stop is added when the last character sorts
// after "." (so "File not found" gains one, while texts ending in "." or ")" stay as they are).
Text errorBoxText(const Text& message);

} // namespace corvane
