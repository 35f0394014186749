// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/wording.h"

namespace corvane::check {

QString quoted(const Text& text) {
    QString shown = QStringLiteral("\"");
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127)
            shown += QStringLiteral("\\x") +
                     QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else
            shown += QChar(byte);
    }
    return shown + QLatin1Char('"');
}

} // namespace corvane::check
