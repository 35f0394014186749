// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QWidget>

#include <memory>

namespace corvane {

class TForm1;

// For a screen whose free area is `available`: nothing when the form fits there with its title
// bar, otherwise a scrolling frame of the free area's size that holds the form, so that every
// control can still be reached (large text, small screens). Show the frame instead of the
// form; closing it closes the form, and destroying it hands the form back.
std::unique_ptr<QWidget> fitToScreen(TForm1& form, const QRect& available);

} // namespace corvane
