#include "platform/screen_display_modes.h"

#include <QGuiApplication>
#include <QScreen>

namespace corvane {

QSize ScreenDisplayModes::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

void ScreenDisplayModes::setMode(int, int) {}

} // namespace corvane
