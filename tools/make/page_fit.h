#pragma once

#include "tools/make/make_test.h"

namespace corvane {
class WebBrowserViews;
}

namespace corvane::make {

// Lays out every page of a made test with the browser engine, at the size the pupil's window
// shows it (791 x 481 a question, 791 x 526 the front page), and gives an error on the
// question's line (the name's line for the front page) for each page whose content is wider
// or taller, naming what overflows: a long word, a table, a picture, too many lines, options
// over the heading. `made` is makeTest's result, e.g. of a make into a temporary folder.
// Runs the event loop while pages load: call on the GUI thread. Throws AppError when the
// engine cannot be loaded.
SourceErrors checkPagesFit(const MakeResult& made, WebBrowserViews& engine);

// makeTest, but the test is first made in a temporary folder and its pages checked there: the
// library is written only when every page fits. On the GUI thread, as checkPagesFit.
MakeResult makeTestThatFits(const MakeRequest& request, WebBrowserViews& engine);

} // namespace corvane::make
