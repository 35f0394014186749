// SPDX-License-Identifier: GPL-3.0-or-later
// The browser engine plugin: everything that touches Qt WebEngine. Loaded by WebBrowserViews
// on first need; see platform/web_engine_plugin.h.
#include "platform/web_engine_plugin.h"
#include "webengine/sandboxed_page.h"

#include <QEventLoop>
#include <QPointer>
#include <QSize>
#include <QTimer>
#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>
#include <type_traits>
#include <utility>

namespace engine = corvane::engine;

// The engine's own set-up (a shared OpenGL context, even when pages are drawn in software).
// Linked to a program, the engine runs it while the QApplication is being made.
namespace QtWebEngineCore {
Q_DECL_IMPORT void initialize();
}

namespace {

// A view of `size` that lays a page out and is never shown on screen.
QWebEngineView* makeMeasuringView(QObject* profile, const QSize& size) {
    auto* view = new QWebEngineView;
    view->setAttribute(Qt::WA_DontShowOnScreen);
    view->setPage(new engine::SandboxedPage(qobject_cast<QWebEngineProfile*>(profile), view));
    view->resize(size);
    view->show();
    return view;
}

// Loads `url` in `view` and calls `done` once: with the script's result, or with nothing when
// the page did not load within `timeoutMs`. Never again, not even when the view's end calls
// the script's callback still waiting.
void measureIn(QWebEngineView& view, const QUrl& url, const QString& script, int timeoutMs,
               const engine::PageResult& done) {
    auto finish = [ended = std::make_shared<bool>(false), done](const QString& result) {
        if (*ended) return;
        *ended = true;
        done(result);
    };
    QTimer::singleShot(timeoutMs, &view, [finish] { finish({}); });
    auto* page = static_cast<engine::SandboxedPage*>(view.page());
    QObject::connect(page, &QWebEnginePage::loadFinished, &view,
                     [page, script, finish, measured = false](bool loaded) mutable {
                         // The page's own load only, not one it goes on to (a refresh, a form).
                         if (std::exchange(measured, true)) return;
                         if (!loaded) return finish({});
                         // In a world of its own, which runs although the page's scripts are off.
                         page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                             [finish](const QVariant& value) {
                                                 finish(value.toString());
                                             });
                     });
    page->open(url);
}

} // namespace

extern "C" {

Q_DECL_EXPORT void corvaneStartEngine() {
    QtWebEngineCore::initialize();
}

Q_DECL_EXPORT QObject* corvaneMakeProfile() {
    return engine::makeSandboxedProfile();
}

Q_DECL_EXPORT QWidget* corvaneMakeView(QWidget* parent, QObject* profile) {
    auto* view = new QWebEngineView(parent);
    view->setPage(new engine::SandboxedPage(qobject_cast<QWebEngineProfile*>(profile), view));
    view->setContextMenuPolicy(Qt::NoContextMenu);
    return view;
}

Q_DECL_EXPORT void corvaneShowUrl(QWidget* view, const QUrl& url) {
    static_cast<engine::SandboxedPage*>(qobject_cast<QWebEngineView*>(view)->page())->open(url);
}

Q_DECL_EXPORT QString corvaneRunOnPage(QObject* profile, const QUrl& url, const QSize& size,
                                       const QString& script, int timeoutMs) {
    QEventLoop loop; // outlives the view: the view's end calls the script's callback
    QString result;
    const std::unique_ptr<QWebEngineView> view(makeMeasuringView(profile, size));
    measureIn(*view, url, script, timeoutMs, [&](const QString& measured) {
        result = measured;
        loop.quit();
    });
    loop.exec();
    // The page is left for an empty one before the view goes, so that whatever it started
    // still meets its sandbox.
    QEventLoop unload;
    QObject::connect(view->page(), &QWebEnginePage::loadFinished, &unload, &QEventLoop::quit);
    QTimer::singleShot(2000, &unload, &QEventLoop::quit);
    static_cast<engine::SandboxedPage*>(view->page())->open(QUrl(QStringLiteral("about:blank")));
    unload.exec();
    return result;
}

Q_DECL_EXPORT void corvaneRunOnPageLater(QObject* profile, const QUrl& url, const QSize& size,
                                         const QString& script, int timeoutMs, QObject* context,
                                         const engine::PageResult& done) {
    QWebEngineView* view = makeMeasuringView(profile, size);
    // Without the context no result is wanted: the view goes with it.
    QObject::connect(context, &QObject::destroyed, view, [view] { delete view; });
    measureIn(*view, url, script, timeoutMs,
              [view, context = QPointer<QObject>(context), done](const QString& measured) {
                  if (!context) return;
                  view->deleteLater(); // not from inside the engine's own call
                  done(measured);
              });
}

Q_DECL_EXPORT void corvaneWatchLoads(QWidget* view, QObject* context,
                                     const engine::LoadFinished& finished) {
    QWebEnginePage* page = qobject_cast<QWebEngineView*>(view)->page();
    QObject::connect(page, &QWebEnginePage::loadingChanged, context,
                     [finished](const QWebEngineLoadingInfo& info) {
                         if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
                         finished(info.url(),
                                  info.status() == QWebEngineLoadingInfo::LoadSucceededStatus &&
                                      !info.isErrorPage());
                     });
}

} // extern "C"

// The exported functions have the types the loader expects.
static_assert(std::is_same_v<decltype(corvaneStartEngine), engine::StartEngine>);
static_assert(std::is_same_v<decltype(corvaneMakeProfile), engine::MakeProfile>);
static_assert(std::is_same_v<decltype(corvaneMakeView), engine::MakeView>);
static_assert(std::is_same_v<decltype(corvaneShowUrl), engine::ShowUrl>);
static_assert(std::is_same_v<decltype(corvaneRunOnPage), engine::RunOnPage>);
static_assert(std::is_same_v<decltype(corvaneRunOnPageLater), engine::RunOnPageLater>);
static_assert(std::is_same_v<decltype(corvaneWatchLoads), engine::WatchLoads>);
