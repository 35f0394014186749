#include "platform/web_browser_view.h"

#include "content/app_error.h"

#include <QCoreApplication>
#include <QFile>
#include <QQuickWindow>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <functional>
#include <unistd.h>

namespace corvane {

// The container of one view; the engine view inside it is made on first use.
class LazyWebView : public QWidget {
  public:
    LazyWebView(QWidget* parent, std::function<QWebEngineProfile*()> profile)
        : QWidget(parent), profile_(std::move(profile)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
    }

    QWebEngineView* view() {
        if (!view_) {
            view_ = new QWebEngineView(this);
            view_->setPage(new QWebEnginePage(profile_(), view_));
            view_->setContextMenuPolicy(Qt::NoContextMenu);
            layout()->addWidget(view_);
        }
        return view_;
    }

  private:
    std::function<QWebEngineProfile*()> profile_;
    QWebEngineView* view_ = nullptr;
};

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
    explicit WebBrowserView(LazyWebView* container) : container_(container) {}

    QWidget* widget() override { return container_; }

    void Navigate(const std::string& url) override { container_->view()->setUrl(toUrl(url)); }

  private:
    LazyWebView* container_;
};

} // namespace

WebBrowserViews::WebBrowserViews() = default;

WebBrowserViews::~WebBrowserViews() {
    delete profile_;
}

void WebBrowserViews::prepareEngine() {
    // The browser engine refuses to start its sandbox as root; only then is it turned off.
    if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (!qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) {
        // The user chose how to reach OpenGL: the engine draws with it.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        return;
    }
    // Otherwise pages are drawn in software. Question pages are still pictures, and without
    // loading the graphics driver the start screen shows about 60 ms sooner and the program
    // with its helper processes holds about 65 MiB less.
    qputenv("QT_XCB_GL_INTEGRATION", "none");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, false);
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

void WebBrowserViews::warmUp() {
    for (const QPointer<LazyWebView>& container : views_)
        if (container) container->view();
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
    auto* container = new LazyWebView(parent, [this] { return profile(); });
    container->setObjectName(name);
    views_.emplace_back(container);
    return std::make_unique<WebBrowserView>(container);
}

} // namespace corvane
