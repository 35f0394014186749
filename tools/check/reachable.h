// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text.h"

#include <optional>

namespace corvane::check {

// A typed answer whose money form (currencyForm) is exactly `stored`, or none when no typed
// answer has that form. The form of a typed answer never holds a blank, a lower-case letter,
// "P" or "£" once it is two characters or longer, while a one-character form is the typed
// character itself, upper-cased: so those are the stored answers that can be reached.
std::optional<Text> currencyInput(const Text& stored);

// True when some typed answer has the pair form (pairForm) `stored`. Every pair form is its own
// pair form, so `stored` can be reached exactly when it is one: then typing it is the proof.
bool pairReachable(const Text& stored);

} // namespace corvane::check
