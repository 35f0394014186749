// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

namespace corvane {

// Display modes of the output that shows the program. On X11 with XRandR the output's CRTC is
// switched to a mode of the asked size and the X screen is resized to match; elsewhere (the
// offscreen platform, Wayland) the size is only read and a change simply does not happen.
// Nothing is stored: the server forgets the mode when it ends.
class ScreenDisplayModes : public DisplayModes {
  public:
    QSize screenSize() override;
    void setMode(int width, int height) override;
};

} // namespace corvane
