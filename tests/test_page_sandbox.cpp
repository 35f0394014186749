// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile test pages in the real browser engine, as the pupil's window shows them and as the
// offscreen layout measures them: each tries to read a file outside its test's folder or to
// reach a listener on this computer. Nothing outside the folder may be opened, the listener
// must hear nothing, the page's own scripts must not run; a picture inside the folder shows.
#include "platform/web_browser_view.h"
#include "support/test_files.h"

#include <QApplication>
#include <QImage>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

using corvane::WebBrowserViews;

namespace {

// The files of a folder that anything opened or read, through inotify.
class OpenedFiles {
  public:
    explicit OpenedFiles(const QString& folder) : fd_(inotify_init1(IN_NONBLOCK)) {
        inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
    }
    ~OpenedFiles() { ::close(fd_); }

    QStringList take() {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;)
            for (char* at = buffer; at < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0 && !(event->mask & IN_ISDIR)) names << event->name;
                at += sizeof(inotify_event) + event->len;
            }
        return names;
    }

  private:
    int fd_;
};

} // namespace

class TestPageSandbox : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void hostilePages_data();
    void hostilePages();

  private:
    QTemporaryDir root_;
    QString library_; // library/test holds the secrets, library/test/Quiz is the test's folder
    QString folder_;
    QTcpServer listener_;
    int heard_ = 0;
    std::unique_ptr<WebBrowserViews> engine_;
    QWidget window_;
    std::unique_ptr<corvane::BrowserView> view_;
};

void TestPageSandbox::initTestCase() {
    library_ = root_.filePath("test");
    folder_ = library_ + "/Quiz";
    QVERIFY(QDir().mkpath(folder_));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(folder_ + "/inside.png"));
    QVERIFY(picture.save(library_ + "/secret.png"));
    corvane::testing::writeFile(root_, "test/secret.txt", "the secret");
    corvane::testing::writeFile(root_, "test/secret.html", "<p>the secret</p>");
    QVERIFY(QFile::link(library_ + "/secret.png", folder_ + "/link.png"));
    QVERIFY(QFile::link(library_, folder_ + "/up"));

    QVERIFY(listener_.listen(QHostAddress::LocalHost));
    connect(&listener_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = listener_.nextPendingConnection()) {
            ++heard_;
            socket->deleteLater();
        }
    });
    engine_ = std::make_unique<WebBrowserViews>(CORVANE_WEBENGINE_PLUGIN);
    view_ = engine_->create(&window_, "Question");
    view_->widget()->resize(791, 481);
    window_.resize(800, 500);
    window_.show();
}

void TestPageSandbox::hostilePages_data() {
    // The page's body, a script run on it in the program's own world (as a pupil's click or a
    // script that got through would act), and what that script must give ("" for anything).
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<QString>("expected");
    const QString xhr = "(() => { try { const x = new XMLHttpRequest(); x.open('GET', '%1', "
                        "false); x.send(); return 'read ' + x.responseText; } catch (e) { "
                        "return 'refused'; } })()";
    QTest::newRow("a picture inside shows") << "<img id=p src=inside.png>"
                                            << "document.getElementById('p').naturalWidth"
                                            << "40";
    QTest::newRow("the page's script does not run")
        << "<p id=p>still</p><script>document.getElementById('p').textContent = 'ran';"
           "fetch('file://SECRETS/secret.txt');</script>"
        << "document.getElementById('p').textContent"
        << "still";
    QTest::newRow("onerror does not run")
        << "<img src=nothing.png onerror=\"document.body.dataset.ran = 1\">"
        << "String(document.body.dataset.ran)"
        << "undefined";
    QTest::newRow("XHR of /etc/passwd") << "<p>x</p>" << xhr.arg("file:///etc/passwd") << "refused";
    QTest::newRow("XHR beside the folder") << "<p>x</p>" << xhr.arg("../secret.txt") << "refused";
    QTest::newRow("fetch beside the folder")
        << "<p>x</p>"
        << "fetch('file://SECRETS/secret.txt').catch(() => 0), 'sent'"
        << "sent";
    QTest::newRow("picture beside the folder") << "<img id=p src=../secret.png>"
                                               << "document.getElementById('p').naturalWidth"
                                               << "0";
    QTest::newRow("picture through a link") << "<img id=p src=link.png>"
                                            << "document.getElementById('p').naturalWidth"
                                            << "0";
    QTest::newRow("picture through a linked folder") << "<img id=p src=up/secret.png>"
                                                     << "document.getElementById('p').naturalWidth"
                                                     << "0";
    QTest::newRow("iframe of /etc/passwd and beside the folder")
        << "<iframe src=file:///etc/passwd></iframe><iframe src=../secret.html></iframe>"
           "<iframe src=file://SECRETS/secret.txt></iframe>"
        << ""
        << "";
    QTest::newRow("WebSocket to the listener")
        << "<p>x</p>"
        << "new WebSocket('ws://127.0.0.1:PORT/x?d=secret'), 'sent'"
        << "sent";
    QTest::newRow("pictures, styles and frames from the listener")
        << "<img src=http://127.0.0.1:PORT/a.png><link rel=stylesheet href=//127.0.0.1:PORT/s>"
           "<div style=\"background:url(http://127.0.0.1:PORT/b)\">x</div>"
           "<iframe src=http://127.0.0.1:PORT/f></iframe><object data=http://127.0.0.1:PORT/o>"
           "</object>"
        << ""
        << "";
    QTest::newRow("meta refresh out")
        << "<meta http-equiv=refresh content=\"0; url=http://127.0.0.1:PORT/r\">"
           "<meta http-equiv=refresh content=\"0; url=../secret.html\">"
        << ""
        << "";
    QTest::newRow("form post to the listener and to a file")
        << "<form action=http://127.0.0.1:PORT/post method=post><input name=d value=x></form>"
           "<form action=../secret.html><input name=d value=x></form>"
        << "document.forms[0].submit(), document.forms[1].submit(), 'sent'"
        << "sent";
    QTest::newRow("link clicked out")
        << "<a id=a href=../secret.html>x</a><a id=b href=http://127.0.0.1:PORT/l>y</a>"
        << "document.getElementById('a').click(), document.getElementById('b').click(), 'sent'"
        << "sent";
}

void TestPageSandbox::hostilePages() {
    QFETCH(QString, body);
    QFETCH(QString, probe);
    QFETCH(QString, expected);
    const auto filled = [this](QString text) {
        return text.replace("PORT", QString::number(listener_.serverPort()))
            .replace("SECRETS", library_);
    };
    corvane::testing::writeFile(
        root_, "test/Quiz/page.htm",
        ("<!DOCTYPE html><html><body>" + filled(body) + "</body></html>").toUtf8());
    OpenedFiles opened(library_);
    heard_ = 0;

    // The offscreen layout, as the page-fit check measures.
    const QString result =
        engine_->runOnPage(QUrl::fromLocalFile(folder_ + "/page.htm"), {791, 481},
                           filled(probe).isEmpty() ? "0" : filled(probe));
    if (!expected.isEmpty()) QCOMPARE(result, expected);
    // The pupil's window, given time to follow a refresh or a submitted form.
    view_->Navigate(("file://" + folder_ + "/page.htm").toStdString());
    QTest::qWait(1500);

    const QStringList secrets{"secret.txt", "secret.html", "secret.png"};
    QStringList read;
    for (const QString& name : opened.take())
        if (secrets.contains(name)) read << name;
    QCOMPARE(read, QStringList());
    QCOMPARE(heard_, 0);
}

int main(int argc, char* argv[]) {
    WebBrowserViews::prepareEngine();
    QApplication app(argc, argv);
    TestPageSandbox test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_page_sandbox.moc"
