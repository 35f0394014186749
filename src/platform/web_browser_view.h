#pragma once

#include "platform/seams.h"

#include <QPointer>

#include <vector>

class QWebEngineProfile;

namespace corvane {

class LazyWebView;

// Browser views on Qt WebEngine. The engine is heavy to start, so each view is a plain
// container until it is first asked to show a page or warmUp() is called.
// All views share one off-the-record profile: nothing is written to disk.
class WebBrowserViews : public BrowserViews {
  public:
    WebBrowserViews();
    ~WebBrowserViews() override;
    std::unique_ptr<BrowserView> create(QWidget* parent, const QString& name) override;

    // Sets the engine's start-up settings (sandbox, software drawing unless the user set up
    // OpenGL); call before the QApplication is made.
    static void prepareEngine();
    // Starts the engine and every view made so far, so that their first pages show without
    // waiting for it. Meant for an idle moment after the window is on screen.
    void warmUp();

  private:
    QWebEngineProfile* profile();
    QWebEngineProfile* profile_ = nullptr;
    std::vector<QPointer<LazyWebView>> views_;
};

} // namespace corvane
