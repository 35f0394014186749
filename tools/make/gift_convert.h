// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make/gift_question.h"

#include <string>

namespace corvane::make {

// One GIFT question as a question of the test source: `block` holds its lines (heading, text,
// options or answer line), or `reason` says why it cannot be one.
struct ConvertedQuestion {
    std::string block;
    std::string reason;
};

ConvertedQuestion convertGiftQuestion(const GiftQuestion& question);

} // namespace corvane::make
