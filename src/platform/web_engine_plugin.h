// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The browser engine lives in a plugin, libcorvane-webengine.so, so that the program starts
// without loading the engine's libraries; they are loaded on first need. These are the
// functions it exports, by name and type.

#include <functional>

class QObject;
class QSize;
class QString;
class QUrl;
class QWidget;

namespace corvane::engine {

// Sets the engine up; called once, just after the plugin is loaded.
using StartEngine = void();
inline constexpr const char* kStartEngine = "corvaneStartEngine";

// Makes the off-the-record profile the views share (nothing is written to disk), sandboxed as
// platform/page_sandbox.h says: no network, no scripts.
using MakeProfile = QObject*();
inline constexpr const char* kMakeProfile = "corvaneMakeProfile";

// Makes an engine view as a child of `parent`, showing its pages with `profile`.
using MakeView = QWidget*(QWidget* parent, QObject* profile);
inline constexpr const char* kMakeView = "corvaneMakeView";

// Shows `url` in a view made by MakeView; the page reads files of `url`'s folder only.
using ShowUrl = void(QWidget* view, const QUrl& url);
inline constexpr const char* kShowUrl = "corvaneShowUrl";

// Lays out `url` (sandboxed as ShowUrl) in a view of `size` that is never shown on screen, runs
// `script` on the page in a world of its own (the page's scripts are off)
// once it has loaded, and gives the script's result as text; empty when the page did not load
// within `timeoutMs`. Runs the event loop meanwhile; call on the GUI thread.
using RunOnPage = QString(QObject* profile, const QUrl& url, const QSize& size,
                          const QString& script, int timeoutMs);
inline constexpr const char* kRunOnPage = "corvaneRunOnPage";

// RunOnPage without waiting: `done` gets the result later, from the event loop, unless
// `context` has gone by then (the view goes with it).
using PageResult = std::function<void(const QString& result)>;
using RunOnPageLater = void(QObject* profile, const QUrl& url, const QSize& size,
                            const QString& script, int timeoutMs, QObject* context,
                            const PageResult& done);
inline constexpr const char* kRunOnPageLater = "corvaneRunOnPageLater";

// Calls `finished` with the address and the outcome (true: the page itself was shown; false:
// it failed or stopped, or an error page stands in) each time a load in a view made by MakeView
// ends, for as long as `context` lives.
using LoadFinished = std::function<void(const QUrl& url, bool succeeded)>;
using WatchLoads = void(QWidget* view, QObject* context, const LoadFinished& finished);
inline constexpr const char* kWatchLoads = "corvaneWatchLoads";

} // namespace corvane::engine
