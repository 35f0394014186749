#include "platform/web_browser_view.h"

#include "content/app_error.h"
#include "content/text.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <functional>

namespace corvane {
namespace {

class WebBrowserView : public BrowserView {
  public:
    WebBrowserView(QWidget* parent, const QString& name,
                   std::function<QWebEngineProfile*()> profile)
        : container_(new QWidget(parent)), profile_(std::move(profile)) {
        container_->setObjectName(name);
        auto* layout = new QVBoxLayout(container_);
        layout->setContentsMargins(0, 0, 0, 0);
    }

    QWidget* widget() override { return container_; }

    void Navigate(const std::string& url) override {
        const QUrl target(toQt(url));
        if (!target.isValid()) throw AppError("Invalid URL: " + url);
        view()->setUrl(target);
    }

  private:
    QWebEngineView* view() {
        if (!view_) {
            view_ = new QWebEngineView(container_);
            view_->setPage(new QWebEnginePage(profile_(), view_));
            view_->setContextMenuPolicy(Qt::NoContextMenu);
            container_->layout()->addWidget(view_);
        }
        return view_;
    }

    QWidget* container_;
    std::function<QWebEngineProfile*()> profile_;
    QWebEngineView* view_ = nullptr;
};

} // namespace

WebBrowserViews::WebBrowserViews() = default;

WebBrowserViews::~WebBrowserViews() {
    delete profile_;
}

QWebEngineProfile* WebBrowserViews::profile() {
    if (!profile_) {
        profile_ = new QWebEngineProfile(); // no storage name: off the record
        profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        profile_->setSpellCheckEnabled(false);
    }
    return profile_;
}

std::unique_ptr<BrowserView> WebBrowserViews::create(QWidget* parent, const QString& name) {
    return std::make_unique<WebBrowserView>(parent, name, [this] { return profile(); });
}

} // namespace corvane
