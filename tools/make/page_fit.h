// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make/make_test.h"

#include <functional>

class QObject;

namespace corvane {
class AppError;
class WebBrowserViews;
} // namespace corvane

namespace corvane::make {

// Lays out every page of a made test with the browser engine, at the size the pupil's window
// shows it (791 x 481 a question, 791 x 526 the front page), and gives an error on the
// question's line (the name's line for the front page) for each page whose content is wider
// or taller, naming what overflows: a long word, a table, a picture, too many lines, options
// over the heading. `made` is makeTest's result, e.g. of a make into a temporary folder.
// Runs the event loop while pages load: call on the GUI thread. Throws AppError when the
// engine cannot be loaded.
SourceErrors checkPagesFit(const MakeResult& made, WebBrowserViews& engine);

// checkPagesFit for one page: 0 the front page, q the page of question q. `laidOut` (when
// given) is set to whether the engine could lay the page out at all.
SourceErrors checkPageFits(const MakeResult& made, int page, WebBrowserViews& engine,
                           bool* laidOut = nullptr);

// checkPageFits without waiting: `done` gets the page's errors and whether it was laid out,
// later from the event loop, unless `context` has gone by then. Throws AppError when the
// engine cannot be loaded.
using PageChecked = std::function<void(const SourceErrors& errors, bool laidOut)>;
void checkPageFitsLater(const MakeResult& made, int page, WebBrowserViews& engine, QObject* context,
                        const PageChecked& done);

// Moves each long-word error from its question's heading to the line of `source` below it that
// holds the word, where the teacher shortens it.
void pointAtWords(SourceErrors& errors, const QString& source);

// The error on `line` when the engine that lays the pages out cannot be loaded.
SourceError pagesNotChecked(int line, const AppError& error);

// makeTest, but the test is first made in a temporary folder and its pages checked there: the
// library is written only when every page fits. On the GUI thread, as checkPagesFit.
MakeResult makeTestThatFits(const MakeRequest& request, WebBrowserViews& engine);

} // namespace corvane::make
