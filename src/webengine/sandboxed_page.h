// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>

class QWebEngineProfile;

namespace corvane::engine {

// The off-the-record profile every page is shown with: nothing is written to disk, no request
// but for a local file leaves any of its pages, and its settings turn off scripts, plugins,
// DNS prefetching, WebRTC's local addresses and the rest of what a test page never needs.
QWebEngineProfile* makeSandboxedProfile();

// A page of that profile that reads only the folder of the page it was opened on.
class SandboxedPage : public QWebEnginePage {
  public:
    SandboxedPage(QWebEngineProfile* profile, QObject* parent);

    // Shows `url`; from now on the page's requests may read files inside its folder only.
    void open(const QUrl& url);

  private:
    class FolderOnly : public QWebEngineUrlRequestInterceptor {
      public:
        using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
        void interceptRequest(QWebEngineUrlRequestInfo& info) override;
        QByteArray folder; // the real path the page may read under; empty: nothing
    };
    FolderOnly* folderOnly_; // a child: it outlives the engine's page, which calls it
};

} // namespace corvane::engine
