#pragma once

#include "platform/seams.h"

class QWebEngineProfile;

namespace corvane {

// Browser views on Qt WebEngine. The engine is heavy to start, so each view is a plain
// container until it is first asked to show a page (or warmUp() is called).
// All views share one off-the-record profile: nothing is written to disk.
class WebBrowserViews : public BrowserViews {
  public:
    WebBrowserViews();
    ~WebBrowserViews() override;
    std::unique_ptr<BrowserView> create(QWidget* parent, const QString& name) override;

  private:
    QWebEngineProfile* profile();
    QWebEngineProfile* profile_ = nullptr;
};

} // namespace corvane
