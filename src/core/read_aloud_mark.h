// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace corvane {

// The mark a made test's front page carries when its questions must not be read aloud to the
// pupil (a test where reading is the point): <meta name="read-aloud" content="no">.
inline constexpr char kNoReadAloudMeta[] = "<meta name=\"read-aloud\" content=\"no\">";

// Whether the front page (untrusted HTML) carries that mark; names and values in any case.
bool readAloudRefused(const QByteArray& frontPageHtml);

} // namespace corvane
