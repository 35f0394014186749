// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web_browser_view.h"

#include "core/app_error.h"
#include "platform/web_engine_plugin.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QStackedLayout>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <array>
#include <functional>
#include <future>
#include <optional>
#include <sys/stat.h>
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

// How long a page laid out off screen may take to load.
constexpr int kPageTimeoutMs = 20000;

// The engine plugin, loaded on first use and kept loaded until the program ends (the engine
// cannot be unloaded). It owns the profile the views share.
//
// Loading it ahead runs in steps so that the window's thread never waits long: the libraries
// are loaded and relocated on a worker thread; starting the engine and making the profile then
// run on the window's thread, one step per pass of the event loop.
class EnginePlugin {
  public:
    // `whenReady` is called from the event loop once the engine is ready.
    EnginePlugin(const QString& path, std::function<void()> whenReady)
        : path_(path), library_(path), whenReady_(std::move(whenReady)) {}
    ~EnginePlugin() {
        if (libraryLoading_.valid()) libraryLoading_.wait();
        delete profile_;
    }

    bool ready() const { return profile_ != nullptr; }

    // Loads and sets up the engine if that has not been done, waiting for a load ahead under
    // way; throws AppError if the plugin cannot be loaded.
    void load() {
        if (ready()) return;
        if (!QFileInfo::exists(path_))
            throw AppError("Cannot show pages: the browser engine plugin " +
                           QFile::encodeName(path_).toStdString() + " is missing");
        if (!quiet_) quiet_.emplace();
        const bool loaded = libraryLoading_.valid() ? libraryLoading_.get() : library_.load();
        if (!loaded) {
            quiet_.reset();
            fail();
        }
        start();
        makeProfile();
    }

    // Loads the engine ahead of need, in steps. Does nothing if it is ready, under way, or the
    // plugin is missing.
    void loadAhead() {
        if (ready() || libraryLoading_.valid() || !QFileInfo::exists(path_)) return;
        quiet_.emplace();
        libraryLoading_ = std::async(std::launch::async, [this] {
            const bool loaded = library_.load();
            QMetaObject::invokeMethod(
                &steps_, [this] { startAhead(); }, Qt::QueuedConnection);
            return loaded;
        });
    }

    QWidget* makeView(QWidget* parent) {
        load();
        return makeView_(parent, profile_);
    }

    void show(QWidget* view, const QUrl& url) { showUrl_(view, url); }

    QString runOnPage(const QUrl& url, const QSize& size, const QString& script) {
        load();
        return runOnPage_(profile_, url, size, script, kPageTimeoutMs);
    }
    void runOnPageLater(const QUrl& url, const QSize& size, const QString& script, QObject* context,
                        const engine::PageResult& done) {
        load();
        runOnPageLater_(profile_, url, size, script, kPageTimeoutMs, context, done);
    }
    void watchLoads(QWidget* view, QObject* context, const engine::LoadFinished& finished) {
        watchLoads_(view, context, finished);
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

    // Resolves the plugin's functions and starts the engine, once.
    void start() {
        if (showUrl_) return;
        auto* startEngine = resolve<engine::StartEngine>(engine::kStartEngine);
        makeProfile_ = resolve<engine::MakeProfile>(engine::kMakeProfile);
        makeView_ = resolve<engine::MakeView>(engine::kMakeView);
        watchLoads_ = resolve<engine::WatchLoads>(engine::kWatchLoads);
        runOnPage_ = resolve<engine::RunOnPage>(engine::kRunOnPage);
        runOnPageLater_ = resolve<engine::RunOnPageLater>(engine::kRunOnPageLater);
        auto* showUrl = resolve<engine::ShowUrl>(engine::kShowUrl);
        startEngine();
        quiet_.reset();
        showUrl_ = showUrl; // set last: the engine is started
    }

    // The steps after the worker has loaded the libraries; each is skipped if load() did it.
    void startAhead() {
        if (ready() || !libraryLoading_.valid()) return;
        if (!libraryLoading_.get()) {
            quiet_.reset(); // the first page shown reports the failure
            return;
        }
        try {
            start();
        } catch (const AppError&) {
            return;
        }
        QTimer::singleShot(0, &steps_, [this] { makeProfile(); });
    }

    void makeProfile() {
        if (ready()) return;
        profile_ = makeProfile_();
        QTimer::singleShot(0, &steps_, whenReady_);
    }

    const QString path_; // read here while library_ may be loading on the worker
    QLibrary library_;
    std::optional<LateEngineStart> quiet_;
    engine::MakeProfile* makeProfile_ = nullptr;
    engine::MakeView* makeView_ = nullptr;
    engine::WatchLoads* watchLoads_ = nullptr;
    engine::ShowUrl* showUrl_ = nullptr;
    engine::RunOnPage* runOnPage_ = nullptr;
    engine::RunOnPageLater* runOnPageLater_ = nullptr;
    QObject* profile_ = nullptr;
    std::function<void()> whenReady_;
    QObject steps_; // the context of the steps ahead: they are dropped with it
    std::future<bool> libraryLoading_;
};

namespace {

// What a page file was when a load of it was asked for. A file written, replaced or removed
// since then gives another stamp.
struct FileStamp {
    bool exists = false;
    struct stat status {};

    static FileStamp of(const QUrl& url) {
        FileStamp stamp;
        // The path's own bytes, as toUrl() encoded them.
        const QByteArray path =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (url.isLocalFile()) stamp.exists = ::stat(path.constData(), &stamp.status) == 0;
        return stamp;
    }

    bool operator==(const FileStamp& other) const {
        const auto same = [](const timespec& a, const timespec& b) {
            return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
        };
        return exists == other.exists &&
               (!exists ||
                (status.st_dev == other.status.st_dev && status.st_ino == other.status.st_ino &&
                 status.st_size == other.status.st_size && status.st_mode == other.status.st_mode &&
                 same(status.st_mtim, other.status.st_mtim) &&
                 same(status.st_ctim, other.status.st_ctim)));
    }
};

// One engine view of a container and the page it was last asked to load.
struct Page {
    QWidget* view = nullptr;
    QUrl url;
    FileStamp stamp;
    bool ahead = false; // loaded ahead and not yet brought forward
    bool failed = false;

    // The page can be brought forward for `url`: loaded ahead, not failed, and its file is
    // still there and the same.
    bool holds(const QUrl& url) const {
        return ahead && !failed && this->url == url && stamp.exists && stamp == FileStamp::of(url);
    }
};

} // namespace

// The container of one view. Its engine views are made on first use: the shown one, and a
// second one for loading ahead while the container is in sight. Both lie on top of each
// other, the shown one raised; the one behind is disabled, so that neither keys nor Tab
// reach it.
class LazyWebView : public QWidget {
  public:
    LazyWebView(QWidget* parent, EnginePlugin& engine) : QWidget(parent), engine_(engine) {
        layout_ = new QStackedLayout(this);
        layout_->setStackingMode(QStackedLayout::StackAll);
        layout_->setContentsMargins(0, 0, 0, 0);
    }

    // The engine views go first, while the pages their loads report to are still here.
    ~LazyWebView() override {
        for (Page& page : pages_)
            delete std::exchange(page.view, nullptr);
    }

    QWidget* shownView() const { return pages_[shown_].view; }

    // Makes the shown engine view if it is not there yet; throws AppError if the engine is
    // missing.
    void makeView() { makeView(pages_[shown_]); }

    void show(const QUrl& url) {
        makeView();
        waiting_.clear();
        for (std::size_t index : {shown_, 1 - shown_}) {
            Page& page = pages_[index];
            if (!page.holds(url)) continue;
            page.ahead = false;
            bringForward(index);
            return;
        }
        Page& page = pages_[shown_];
        page = {page.view, url, {}, false, false};
        engine_.show(page.view, url);
    }

    // Loads `url` where it is out of sight, from the event loop, so that what the pupil's press
    // shows is painted first; if the engine is not loaded yet, it is loaded ahead first. Local
    // files only: only their changes can be seen.
    void loadAhead(const QUrl& url) {
        if (!url.isLocalFile()) return;
        waiting_ = url;
        QTimer::singleShot(0, this, [this] { loadWaiting(); });
    }

    // The engine has been loaded ahead: makes the shown view and loads what is waiting.
    void engineReady() {
        try {
            makeView();
        } catch (const AppError&) {
            return;
        }
        loadWaiting();
    }

    // Both engine views take the zoom, so that a page loaded ahead shows at it too.
    void setZoom(double factor) {
        zoom_ = factor;
        for (Page& page : pages_)
            if (page.view) page.view->setProperty("zoomFactor", factor);
    }

  private:
    void loadWaiting() {
        if (waiting_.isEmpty()) return;
        if (!engine_.ready()) {
            engine_.loadAhead(); // engineReady() follows
            return;
        }
        const QUrl url = std::exchange(waiting_, {});
        Page& page = pages_[isVisible() ? 1 - shown_ : shown_];
        if (page.holds(url)) return;
        try {
            makeView(); // the shown one first: it lies in front
            makeView(page);
        } catch (const AppError&) {
            return; // no engine: the page shown next reports it
        }
        page = {page.view, url, FileStamp::of(url), true, false};
        engine_.show(page.view, url);
    }

    void bringForward(std::size_t index) {
        QWidget* behind = pages_[shown_].view;
        QWidget* shown = pages_[index].view;
        shown_ = index;
        if (shown == behind) return;
        const bool hadFocus = behind->isAncestorOf(QApplication::focusWidget());
        layout_->setCurrentWidget(shown);
        shown->setEnabled(true);
        behind->setEnabled(false);
        if (hadFocus) shown->setFocus();
    }

    void makeView(Page& page) {
        if (page.view) return;
        page.view = engine_.makeView(this);
        page.view->setProperty("zoomFactor", zoom_);
        layout_->addWidget(page.view);
        if (&page != &pages_[shown_]) {
            page.view->setEnabled(false);
            layout_->setCurrentWidget(pages_[shown_].view);
        }
        engine_.watchLoads(page.view, this, [&page](const QUrl& url, bool succeeded) {
            // A load that ends for another address (one replaced by a newer request) marks the
            // page failed only: a success must be the page's own.
            if (!succeeded || url == page.url) page.failed = !succeeded;
        });
    }

    EnginePlugin& engine_;
    QStackedLayout* layout_;
    std::array<Page, 2> pages_;
    std::size_t shown_ = 0;
    QUrl waiting_; // to load ahead once the engine is ready
    double zoom_ = 1.0;
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
    void setZoom(double factor) override { container_->setZoom(factor); }

    void loadAhead(const std::string& url) override {
        try {
            container_->loadAhead(toUrl(url));
        } catch (const AppError&) {
            // An address Navigate would refuse: it reports that when it is shown.
        }
    }

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
    : engine_(std::make_unique<EnginePlugin>(pluginPath, [this] {
          // Each view is made in a pass of its own.
          for (const QPointer<LazyWebView>& container : views_)
              if (container)
                  QTimer::singleShot(0, container.data(),
                                     [view = container.data()] { view->engineReady(); });
      })) {}

WebBrowserViews::~WebBrowserViews() = default;

void WebBrowserViews::prepareEngine() {
    // The browser engine refuses to start its sandbox as root; only then is it turned off.
    if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The engine's own accessibility stays off (its default on Linux): a screen reader cannot
    // browse it inside a program's window, and it would also offer the pages loaded ahead out
    // of sight. The pupil's window gives the words of the page on show itself.
    // Every page is a local file: one renderer process serves all the views (a view loading
    // ahead would otherwise add a process of its own), unless the user set the engine's flags.
    const bool ownFlags = !qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS");
    QByteArray flags = "--process-per-site";
    // Pages reach no network (see page_sandbox.h); WebRTC, too, sends nothing but through a
    // proxy, which the program never sets.
    flags += " --force-webrtc-ip-handling-policy=disable_non_proxied_udp";
    if (!qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) {
        // The user chose how to reach OpenGL: the engine draws with it.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    } else {
        // Otherwise pages are drawn in software. Question pages are still pictures, and without
        // loading the graphics driver the start screen shows about 60 ms sooner and the program
        // with its helper processes holds about 65 MiB less. The engine's scene graph is told
        // so through its environment, since its library is not loaded yet.
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        flags += " --disable-gpu";
        if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
            qputenv("QT_QUICK_BACKEND", "software");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, false);
    }
    // Without the sandbox, the engine needs no zygote process; starting one keeps the window
    // waiting about 110 ms until it has started. (With the sandbox the engine requires it.)
    if (qgetenv("QTWEBENGINE_DISABLE_SANDBOX") == "1") flags += " --no-zygote";
    if (!ownFlags) qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

void WebBrowserViews::warmUp() {
    engine_->loadAhead();
}

QString WebBrowserViews::runOnPage(const QUrl& url, const QSize& size, const QString& script) {
    return engine_->runOnPage(url, size, script);
}

void WebBrowserViews::runOnPageLater(const QUrl& url, const QSize& size, const QString& script,
                                     QObject* context,
                                     const std::function<void(const QString&)>& done) {
    engine_->runOnPageLater(url, size, script, context, done);
}

QWidget* WebBrowserViews::shownView(QWidget* container) {
    const auto* view = dynamic_cast<LazyWebView*>(container);
    return view ? view->shownView() : nullptr;
}

std::unique_ptr<BrowserView> WebBrowserViews::create(QWidget* parent, const QString& name) {
    auto* container = new LazyWebView(parent, *engine_);
    container->setObjectName(name);
    views_.emplace_back(container);
    return std::make_unique<WebBrowserView>(container);
}

} // namespace corvane
