// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

#include <QImage>
#include <QMap>
#include <QString>

#include <string>

namespace corvane::help {

// The pictures of the help document, taken from the real window: a TForm1 on the fake desktop
// over the sample library in `programFolder` (the folder that holds test/), put into each state
// by real clicks and keys, its controls grabbed. Keyed by the names the document uses
// (<img src="name">). Throws std::runtime_error when the window does not reach a state the
// help shows, so that a change of the program that the help no longer matches stops the build.
QMap<QString, QImage> helpPictures(const std::string& programFolder);

// The whole window on a question screen with an answer given (a choice question, ticked), its
// page shown by `browsers`.
QImage windowScreenshot(const std::string& programFolder, BrowserViews& browsers);

} // namespace corvane::help
