#include "platform/web_browser_view.h"

#include "core/app_error.h"
#include "platform/web_engine_plugin.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include <unistd.h>

namespace corvane {

// While the engine is loaded and set up after the QApplication was made, it warns that it
// should have been set up before; here that is intended, so those two warnings are dropped.
class LateEngineStart {
  public:
    LateEngineStart() { previous_ = qInstallMessageHandler(&LateEngineStart::filter); }
    ~LateEngineStart() { qInstallMessageHandler(previous_); }

  private:
    static void filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtWarningMsg &&
            (text.startsWith("Qt WebEngine seems to be initialized from a plugin") ||
             text.startsWith("Attribute Qt::AA_ShareOpenGLContexts must be set before")))
            return;
        previous_(type, context, text);
    }

    static inline QtMessageHandler previous_ = nullptr;
};

// The engine plugin, loaded on first use and kept loaded until the program ends (the engine
// cannot be unloaded). It owns the profile the views share.
class EnginePlugin {
  public:
    explicit EnginePlugin(const QString& path) : library_(path) {}
    ~EnginePlugin() { delete profile_; }

    // Loads and sets up the engine if that has not been done; throws AppError if the plugin
    // cannot be loaded.
    void load() {
        if (showUrl_) return;
        if (!QFileInfo::exists(library_.fileName()))
            throw AppError("Cannot show pages: the browser engine plugin " +
                           QFile::encodeName(library_.fileName()).toStdString() + " is missing");
        const LateEngineStart quiet;
        if (!library_.load()) fail();
        auto* startEngine = resolve<engine::StartEngine>(engine::kStartEngine);
        makeProfile_ = resolve<engine::MakeProfile>(engine::kMakeProfile);
        makeView_ = resolve<engine::MakeView>(engine::kMakeView);
        runOnPage_ = resolve<engine::RunOnPage>(engine::kRunOnPage);
        auto* showUrl = resolve<engine::ShowUrl>(engine::kShowUrl);
        startEngine();
        showUrl_ = showUrl; // set last: the engine is ready
    }

    QWidget* makeView(QWidget* parent) {
        load();
        if (!profile_) profile_ = makeProfile_();
        return makeView_(parent, profile_);
    }

    void show(QWidget* view, const QUrl& url) { showUrl_(view, url); }

    QString runOnPage(const QUrl& url, const QSize& size, const QString& script) {
        load();
        if (!profile_) profile_ = makeProfile_();
        return runOnPage_(profile_, url, size, script, 20000);
    }

  private:
    [[noreturn]] void fail() const {
        throw AppError("Cannot show pages: " + library_.errorString().toStdString());
    }

    template <typename Function> Function* resolve(const char* name) {
        auto* function = reinterpret_cast<Function*>(library_.resolve(name));
        if (!function) fail();
        return function;
    }

    QLibrary library_;
    engine::MakeProfile* makeProfile_ = nullptr;
    engine::MakeView* makeView_ = nullptr;
    engine::ShowUrl* showUrl_ = nullptr;
    engine::RunOnPage* runOnPage_ = nullptr;
    QObject* profile_ = nullptr;
};

// The container of one view; the engine view inside it is made on first use.
class LazyWebView : public QWidget {
  public:
    LazyWebView(QWidget* parent, EnginePlugin& engine) : QWidget(parent), engine_(engine) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
    }

    // Makes the engine view if it is not there yet; throws AppError if the engine is missing.
    void makeView() {
        if (view_) return;
        view_ = engine_.makeView(this);
        layout()->addWidget(view_);
    }

    void show(const QUrl& url) {
        makeView();
        engine_.show(view_, url);
    }

  private:
    EnginePlugin& engine_;
    QWidget* view_ = nullptr;
};

namespace {

// Paths are the file system's bytes; a "file://" address is turned into a URL from its path,
// every byte but the plain ones percent-encoded, so that names with "#" or "%", and names that
// are not UTF-8 (a Latin-1 "caf\xE9"), still reach the right file.
QUrl toUrl(const std::string& address) {
    const std::string scheme = "file://";
    if (address.rfind(scheme, 0) == 0) {
        const QByteArray path = QByteArray::fromStdString(address.substr(scheme.size()));
        return QUrl::fromEncoded("file://" + path.toPercentEncoding("/"), QUrl::StrictMode);
    }
    const QUrl url(QString::fromStdString(address));
    if (!url.isValid()) throw AppError("Invalid URL: " + address);
    return url;
}

class WebBrowserView : public BrowserView {
  public:
    explicit WebBrowserView(LazyWebView* container) : container_(container) {}

    QWidget* widget() override { return container_; }

    void Navigate(const std::string& url) override { container_->show(toUrl(url)); }

  private:
    LazyWebView* container_;
};

} // namespace

QString WebBrowserViews::besideProgram() {
    // In a folder of its own, so that the package need not run ldconfig for it.
    return QCoreApplication::applicationDirPath() +
           QStringLiteral("/plugins/libcorvane-webengine.so");
}

WebBrowserViews::WebBrowserViews(const QString& pluginPath)
    : engine_(std::make_unique<EnginePlugin>(pluginPath)) {}

WebBrowserViews::~WebBrowserViews() = default;

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
    // with its helper processes holds about 65 MiB less. The engine's scene graph is told so
    // through its environment, since its library is not loaded yet.
    qputenv("QT_XCB_GL_INTEGRATION", "none");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, false);
}

void WebBrowserViews::warmUp() {
    try {
        for (const QPointer<LazyWebView>& container : views_)
            if (container) container->makeView();
    } catch (const AppError&) {
        // No engine: the first page shown reports it.
    }
}

QString WebBrowserViews::runOnPage(const QUrl& url, const QSize& size, const QString& script) {
    return engine_->runOnPage(url, size, script);
}

std::unique_ptr<BrowserView> WebBrowserViews::create(QWidget* parent, const QString& name) {
    auto* container = new LazyWebView(parent, *engine_);
    container->setObjectName(name);
    views_.emplace_back(container);
    return std::make_unique<WebBrowserView>(container);
}

} // namespace corvane
