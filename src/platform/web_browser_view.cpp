#include "platform/web_browser_view.h"

#include "content/app_error.h"

#include <QFile>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <functional>

namespace corvane {
namespace {

// Paths are the file system's bytes; a "file://" address is turned into a URL from its path,
// so that names with non-ASCII characters, "#" or "%" still reach the right file.
QUrl toUrl(const std::string& address) {
    const std::string scheme = "file://";
    if (address.rfind(scheme, 0) == 0)
        return QUrl::fromLocalFile(QFile::decodeName(address.substr(scheme.size()).c_str()));
    const QUrl url(QString::fromStdString(address));
    if (!url.isValid()) throw AppError("Invalid URL: " + address);
    return url;
}

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

    void Navigate(const std::string& url) override { view()->setUrl(toUrl(url)); }

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
