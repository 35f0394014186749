// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/error_text.h"

namespace corvane {

Text errorBoxText(const Text& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

} // namespace corvane
