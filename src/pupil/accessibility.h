// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace corvane {

// Makes the image controls known to screen readers: each speaks its role (button, tick box,
// text), its name and, for a tick box, whether it is ticked, and can be pressed from there.
// Safe to call more than once.
void installImageControlAccessibility();

} // namespace corvane
