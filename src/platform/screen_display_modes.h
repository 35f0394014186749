#pragma once

#include "platform/seams.h"

namespace corvane {

// Display modes through XRandR on X11; elsewhere the size is read and never changed.
class ScreenDisplayModes : public DisplayModes {
public:
    QSize screenSize() override;
    void setMode(int width, int height) override;
};

} // namespace corvane
