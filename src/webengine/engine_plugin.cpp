// SPDX-License-Identifier: GPL-3.0-or-later
// The browser engine plugin: everything that touches Qt WebEngine. Loaded by WebBrowserViews
// on first need; see platform/web_engine_plugin.h.
#include "platform/web_engine_plugin.h"
#include "webengine/sandboxed_page.h"

#include <QEventLoop>
#include <QSize>
#include <QTimer>
#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <type_traits>
#include <utility>

namespace engine = corvane::engine;

// The engine's own set-up (a shared OpenGL context, even when pages are drawn in software).
// Linked to a program, the engine runs it while the QApplication is being made.
namespace QtWebEngineCore {
Q_DECL_IMPORT void initialize();
}

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
    // The loop and the result outlive the view: a script still running when the page goes
    // gives its result as the page is destroyed.
    QEventLoop loop;
    QString result;
    bool measured = false;
    QWebEngineView view;
    view.setAttribute(Qt::WA_DontShowOnScreen);
    auto* page = new engine::SandboxedPage(qobject_cast<QWebEngineProfile*>(profile), &view);
    view.setPage(page);
    view.resize(size);
    view.show();
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    QObject::connect(page, &QWebEnginePage::loadFinished, &loop, [&](bool loaded) {
        // The page's own load only, not one it goes on to (a refresh, a form).
        if (std::exchange(measured, true)) return;
        if (!loaded) return loop.quit();
        // In a world of its own, which runs although the page's scripts are off.
        page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& value) {
            result = value.toString();
            loop.quit();
        });
    });
    page->open(url);
    loop.exec();
    // The page is left for an empty one before the view goes, so that whatever it started
    // still meets its sandbox.
    QEventLoop unload;
    QObject::connect(page, &QWebEnginePage::loadFinished, &unload, &QEventLoop::quit);
    QTimer::singleShot(2000, &unload, &QEventLoop::quit);
    page->open(QUrl(QStringLiteral("about:blank")));
    unload.exec();
    return result;
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
static_assert(std::is_same_v<decltype(corvaneWatchLoads), engine::WatchLoads>);
