// SPDX-License-Identifier: GPL-3.0-or-later
#include "webengine/sandboxed_page.h"

#include "platform/page_sandbox.h"

#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>

namespace corvane::engine {

namespace {

// Blocks every request of the profile's pages that is not for a local file: no http(s),
// ws(s), ftp or any other scheme reaches the network, whatever the page is.
class LocalFilesOnly : public QWebEngineUrlRequestInterceptor {
  public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (info.requestUrl().scheme() != QLatin1String("file")) info.block(true);
    }
};

void turnOffWhatPagesNeverNeed(QWebEngineSettings* settings) {
    using S = QWebEngineSettings;
    for (const S::WebAttribute off :
         {S::JavascriptEnabled, S::JavascriptCanOpenWindows, S::JavascriptCanAccessClipboard,
          S::JavascriptCanPaste, S::LocalContentCanAccessRemoteUrls, S::LocalStorageEnabled,
          S::PluginsEnabled, S::DnsPrefetchEnabled, S::WebGLEnabled, S::Accelerated2dCanvasEnabled,
          S::AutoLoadIconsForPage, S::HyperlinkAuditingEnabled, S::NavigateOnDropEnabled,
          S::PdfViewerEnabled, S::AllowRunningInsecureContent, S::AllowGeolocationOnInsecureOrigins,
          S::ScreenCaptureEnabled, S::FullScreenSupportEnabled,
          S::AllowWindowActivationFromJavaScript})
        settings->setAttribute(off, false);
    // File pages keep reading files (their pictures): which files, each page's interceptor
    // decides. WebRTC, were it reachable, would offer no local address.
    settings->setAttribute(S::WebRTCPublicInterfacesOnly, true);
}

} // namespace

QWebEngineProfile* makeSandboxedProfile() {
    auto* profile = new QWebEngineProfile(); // no storage name: off the record
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setSpellCheckEnabled(false);
    profile->setUrlRequestInterceptor(new LocalFilesOnly(profile));
    turnOffWhatPagesNeverNeed(profile->settings());
    return profile;
}

SandboxedPage::SandboxedPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent), folderOnly_(new FolderOnly(this)) {
    setUrlRequestInterceptor(folderOnly_);
}

void SandboxedPage::open(const QUrl& url) {
    folderOnly_->folder = sandboxFolder(url);
    setUrl(url);
}

void SandboxedPage::FolderOnly::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!sandboxAllows(info.requestUrl(), folder)) info.block(true);
}

} // namespace corvane::engine
