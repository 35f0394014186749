// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace corvane {

// Makes the font names the window uses resolve to fonts installed here
// (Arial and MS Sans Serif to Liberation Sans, Comic Sans MS to Comic Neue).
void registerFontSubstitutes();

} // namespace corvane
