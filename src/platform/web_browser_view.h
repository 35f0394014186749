// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/seams.h"

#include <QPointer>
#include <QSize>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

namespace corvane {

class EnginePlugin;
class LazyWebView;

// Browser views on Qt WebEngine. The engine is heavy to load and to start, so it lives in a
// plugin loaded on first need, and each view is a plain container until it is first asked to
// show a page or warmUp() is called. All views share one off-the-record profile: nothing is
// written to disk.
//
// A view can load a page ahead (loadAhead) into an engine view of its own that stays out of
// sight: behind the shown one, or the shown one itself while the container is hidden. Navigate
// brings such a page forward only while its file is unchanged since the load was asked for and
// the load has not failed; otherwise it loads the page afresh, as without loading ahead.
class WebBrowserViews : public BrowserViews {
  public:
    // `pluginPath` is the engine plugin, libcorvane-webengine.so.
    explicit WebBrowserViews(const QString& pluginPath);
    // The plugin of the running program: plugins/libcorvane-webengine.so beside it.
    static QString besideProgram();
    ~WebBrowserViews() override;
    std::unique_ptr<BrowserView> create(QWidget* parent, const QString& name) override;

    // Sets the engine's start-up settings (sandbox, software drawing unless the user set up
    // OpenGL, one renderer process for all pages); call before the QApplication is made.
    static void prepareEngine();
    // Starts loading the engine and making the views made so far, so that their first pages
    // show without waiting for it. Returns at once: the plugin's libraries are loaded on another
    // thread, and the rest is done in short steps from the event loop. If the plugin cannot be
    // loaded, nothing happens here: showing a page reports it.
    void warmUp();
    // Lays out `url` in an engine view of `size` that is never shown, runs `script` on the page
    // and gives its result as text (empty when the page did not load in time). Runs the event
    // loop meanwhile: call on the GUI thread. Throws AppError when the engine cannot be loaded.
    QString runOnPage(const QUrl& url, const QSize& size, const QString& script);
    // runOnPage without waiting: `done` gets the result later from the event loop, unless
    // `context` has gone by then. Throws AppError when the engine cannot be loaded.
    void runOnPageLater(const QUrl& url, const QSize& size, const QString& script, QObject* context,
                        const std::function<void(const QString&)>& done);

    // The engine view that `container` (a widget returned by BrowserView::widget()) shows now,
    // or null before it has one.
    static QWidget* shownView(QWidget* container);

  private:
    std::unique_ptr<EnginePlugin> engine_;
    std::vector<QPointer<LazyWebView>> views_;
};

} // namespace corvane
