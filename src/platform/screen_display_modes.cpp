// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/screen_display_modes.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <memory>
#include <optional>

// Xlib's macros (None, Bool, Status, ...) clash with Qt names, so X comes after Qt.
#if CORVANE_HAVE_XRANDR
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#endif

namespace corvane {
namespace {

// The screen that shows the program's window, or the primary screen before it is shown.
QScreen* programScreen() {
    for (QWindow* window : QGuiApplication::topLevelWindows())
        if (window->isVisible() && window->screen()) return window->screen();
    return QGuiApplication::primaryScreen();
}

#if CORVANE_HAVE_XRANDR

template <typename T, void (*Free)(T*)> struct XFree {
    void operator()(T* p) const { Free(p); }
};
using Resources =
    std::unique_ptr<XRRScreenResources, XFree<XRRScreenResources, XRRFreeScreenResources>>;
using OutputInfo = std::unique_ptr<XRROutputInfo, XFree<XRROutputInfo, XRRFreeOutputInfo>>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, XFree<XRRCrtcInfo, XRRFreeCrtcInfo>>;

int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

// One connection to the X server the program runs on, with RandR 1.2 or later, and the lit
// output that shows the program.
class RandrOutput {
  public:
    RandrOutput() {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
        display_ = XOpenDisplay(nullptr);
        if (!display_) return;
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XRRQueryExtension(display_, &event, &error) ||
            !XRRQueryVersion(display_, &major, &minor) || major * 100 + minor < 102)
            return;
        root_ = DefaultRootWindow(display_);
        resources_.reset(XRRGetScreenResourcesCurrent(display_, root_));
        if (resources_) chooseOutput();
    }
    ~RandrOutput() {
        output_.reset();
        crtc_.reset();
        resources_.reset();
        if (display_) XCloseDisplay(display_);
    }
    RandrOutput(const RandrOutput&) = delete;
    RandrOutput& operator=(const RandrOutput&) = delete;

    bool found() const { return crtc_ != nullptr; }
    QSize size() const { return {int(crtc_->width), int(crtc_->height)}; }

    // Switches the output to a mode of width x height; without one nothing happens.
    void setMode(int width, int height) {
        const std::optional<RRMode> mode = findMode(width, height);
        if (!mode) return;
        const QSize screen = screenSizeAround(width, height);
        int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
        XRRGetScreenSizeRange(display_, root_, &minWidth, &minHeight, &maxWidth, &maxHeight);
        if (screen.width() > maxWidth || screen.height() > maxHeight) return;
        const QSize needed = screen.expandedTo({minWidth, minHeight});

        // The X screen must hold the CRTC at every step: grow it first, shrink it last.
        const int current = DefaultScreen(display_);
        const QSize before(DisplayWidth(display_, current), DisplayHeight(display_, current));
        const QSize grown = before.expandedTo(needed);
        const auto previousHandler = XSetErrorHandler(ignoreXError);
        XGrabServer(display_);
        if (grown != before) setScreenSize(grown);
        const Status status =
            XRRSetCrtcConfig(display_, resources_.get(), output_->crtc, CurrentTime, crtc_->x,
                             crtc_->y, *mode, crtc_->rotation, crtc_->outputs, crtc_->noutput);
        const QSize final = status == RRSetConfigSuccess ? needed : before;
        if (final != grown) setScreenSize(final);
        XUngrabServer(display_);
        XSync(display_, False);
        XSetErrorHandler(previousHandler);
    }

  private:
    // The output named like the program's screen, else the primary output, else the first lit.
    void chooseOutput() {
        const QScreen* screen = programScreen();
        const QString wanted = screen ? screen->name() : QString();
        const RROutput primary = XRRGetOutputPrimary(display_, root_);
        RROutput chosen = 0;
        for (int i = 0; i < resources_->noutput; ++i) {
            const RROutput id = resources_->outputs[i];
            OutputInfo info(XRRGetOutputInfo(display_, resources_.get(), id));
            if (!info || info->connection != RR_Connected || !info->crtc) continue;
            if (QString::fromLatin1(info->name, info->nameLen) == wanted) {
                chosen = id;
                break;
            }
            if (id == primary || !chosen) chosen = id;
        }
        if (!chosen) return;
        output_.reset(XRRGetOutputInfo(display_, resources_.get(), chosen));
        crtc_.reset(XRRGetCrtcInfo(display_, resources_.get(), output_->crtc));
    }

    std::optional<RRMode> findMode(int width, int height) const {
        const bool turned = crtc_->rotation & (RR_Rotate_90 | RR_Rotate_270);
        for (int i = 0; i < output_->nmode; ++i) {
            for (int m = 0; m < resources_->nmode; ++m) {
                const XRRModeInfo& mode = resources_->modes[m];
                if (mode.id != output_->modes[i]) continue;
                const int w = int(turned ? mode.height : mode.width);
                const int h = int(turned ? mode.width : mode.height);
                if (w == width && h == height) return mode.id;
            }
        }
        return std::nullopt;
    }

    // The X screen size that holds every lit CRTC once ours shows width x height.
    QSize screenSizeAround(int width, int height) const {
        QSize size(crtc_->x + width, crtc_->y + height);
        for (int i = 0; i < resources_->ncrtc; ++i) {
            if (resources_->crtcs[i] == output_->crtc) continue;
            CrtcInfo other(XRRGetCrtcInfo(display_, resources_.get(), resources_->crtcs[i]));
            if (other && other->mode)
                size = size.expandedTo(
                    QSize(other->x + int(other->width), other->y + int(other->height)));
        }
        return size;
    }

    // Resizes the X screen, keeping its dots per millimetre.
    void setScreenSize(QSize size) {
        const int current = DefaultScreen(display_);
        const double mmPerPixelX =
            double(DisplayWidthMM(display_, current)) / DisplayWidth(display_, current);
        const double mmPerPixelY =
            double(DisplayHeightMM(display_, current)) / DisplayHeight(display_, current);
        XRRSetScreenSize(display_, root_, size.width(), size.height(),
                         int(size.width() * mmPerPixelX + 0.5),
                         int(size.height() * mmPerPixelY + 0.5));
    }

    Display* display_ = nullptr;
    Window root_ = 0;
    Resources resources_;
    OutputInfo output_;
    CrtcInfo crtc_;
};

#endif

} // namespace

QSize ScreenDisplayModes::screenSize() {
#if CORVANE_HAVE_XRANDR
    const RandrOutput output;
    if (output.found()) return output.size();
#endif
    const QScreen* screen = programScreen();
    return screen ? screen->size() : QSize();
}

void ScreenDisplayModes::setMode([[maybe_unused]] int width, [[maybe_unused]] int height) {
#if CORVANE_HAVE_XRANDR
    RandrOutput output;
    if (output.found()) output.setMode(width, height);
#endif
}

} // namespace corvane
