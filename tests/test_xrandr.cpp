// SPDX-License-Identifier: GPL-3.0-or-later
// Switches the display mode of a real X server: Xorg with the dummy video driver, started on a
// free display number with the modes 1024x768 and 800x600; and the program on that server,
// ended by a signal, restores it. Skipped when Xorg cannot start.

#include "platform/screen_display_modes.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using corvane::ScreenDisplayModes;

namespace {

const char* const kXorgConf = R"(Section "Device"
    Identifier "Card0"
    Driver "dummy"
    VideoRam 16384
EndSection
Section "Monitor"
    Identifier "Monitor0"
    HorizSync 5.0-100.0
    VertRefresh 5.0-200.0
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
EndSection
Section "Screen"
    Identifier "Screen0"
    Device "Card0"
    Monitor "Monitor0"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1024x768" "800x600"
        Virtual 1024 768
    EndSubSection
EndSection
)";

class DummyXServer {
  public:
    ~DummyXServer() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) process_.kill();
        process_.waitForFinished(5000);
    }

    // Starts Xorg on the first free display from :90; returns the display name, or empty with
    // the reason in `why`.
    QString start(QString& why) {
        const QString conf = dir_.filePath("xorg.conf");
        QFile file(conf);
        if (!dir_.isValid() || !QDir(dir_.path()).mkdir("conf.d") ||
            !file.open(QIODevice::WriteOnly) || file.write(kXorgConf) < 0) {
            why = "cannot write the Xorg configuration";
            return {};
        }
        file.close();
        for (int number = 90; number < 130; ++number) {
            const QString socket = QString("/tmp/.X11-unix/X%1").arg(number);
            if (QFile::exists(socket) || QFile::exists(QString("/tmp/.X%1-lock").arg(number)))
                continue;
            process_.start("Xorg", {QString(":%1").arg(number), "-noreset", "-nolisten", "tcp",
                                    "-novtswitch", "-sharevts", "-config", conf, "-configdir",
                                    dir_.filePath("conf.d"), "-logfile", dir_.filePath("log")});
            if (!process_.waitForStarted(5000)) {
                why = "Xorg is not installed (xserver-xorg-core, xserver-xorg-video-dummy)";
                return {};
            }
            for (int wait = 0; wait < 100 && process_.state() == QProcess::Running; ++wait) {
                if (QFile::exists(socket)) return QString(":%1").arg(number);
                process_.waitForFinished(100);
            }
            why = "Xorg with the dummy driver did not start: " +
                  QString::fromLocal8Bit(process_.readAllStandardError()).right(300);
            return {};
        }
        why = "no free X display number";
        return {};
    }

  private:
    QTemporaryDir dir_;
    QProcess process_;
};

} // namespace

class TestXrandr : public QObject {
    Q_OBJECT
  public:
    explicit TestXrandr(QString skipReason) : skipReason_(std::move(skipReason)) {}

  private slots:
    void init() {
        if (!skipReason_.isEmpty()) QSKIP(qPrintable(skipReason_));
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
    }

    void switchesToTheModeAndBack() {
        ScreenDisplayModes modes;
        QCOMPARE(modes.screenSize(), QSize(1024, 768));

        modes.setMode(800, 600);
        QCOMPARE(modes.screenSize(), QSize(800, 600));
        // The X screen shrinks with the output, as Qt sees it too.
        QTRY_COMPARE(QGuiApplication::primaryScreen()->size(), QSize(800, 600));
        QTRY_COMPARE(QGuiApplication::primaryScreen()->virtualSize(), QSize(800, 600));

        modes.setMode(1024, 768);
        QCOMPARE(modes.screenSize(), QSize(1024, 768));
        QTRY_COMPARE(QGuiApplication::primaryScreen()->virtualSize(), QSize(1024, 768));
    }

    void sizeWithoutAModeChangesNothing() {
        ScreenDisplayModes modes;
        modes.setMode(1280, 1024);
        modes.setMode(799, 600);
        QCOMPARE(modes.screenSize(), QSize(1024, 768));
        QTest::qWait(200);
        QCOMPARE(QGuiApplication::primaryScreen()->virtualSize(), QSize(1024, 768));
    }

    // The program itself, as a child process on this server, ended by a signal: a display it
    // switched comes back to its own size, and a signal that arrives while the offer is still
    // open ends it with the display untouched.
    void programRestoresTheDisplayOnSignal_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("switched");
        QTest::newRow("SIGTERM") << SIGTERM << true;
        QTest::newRow("SIGINT") << SIGINT << true;
        QTest::newRow("SIGHUP") << SIGHUP << true;
        QTest::newRow("SIGTERM during the offer") << SIGTERM << false;
    }
    void programRestoresTheDisplayOnSignal() {
        QFETCH(int, signal);
        QFETCH(bool, switched);
        if (QStandardPaths::findExecutable("xdotool").isEmpty()) QSKIP("xdotool is not installed");
        ScreenDisplayModes modes;
        modes.setMode(1024, 768); // whatever an earlier row left
        QCOMPARE(modes.screenSize(), QSize(1024, 768));

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ASAN_OPTIONS",
                           "detect_leaks=0:new_delete_type_mismatch=0:intercept_strstr=0");
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(CORVANE_PROGRAM, {});
        QVERIFY(program.waitForStarted());
        const QString offer = findWindow("^Fill Screen$");
        QVERIFY2(!offer.isEmpty(), "the display offer did not show");
        if (switched) {
            // Yes is the offer's default button.
            QVERIFY(xdotool({"windowfocus", "--sync", offer, "key", "Return"}));
            QTRY_COMPARE_WITH_TIMEOUT(modes.screenSize(), QSize(800, 600), 20000);
            QVERIFY2(!findWindow("^Corvane Maths$").isEmpty(), "the window did not show");
        }

        QCOMPARE(::kill(pid_t(program.processId()), signal), 0);

        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(modes.screenSize(), QSize(1024, 768));
    }

  private:
    static bool xdotool(const QStringList& arguments, QString* output = nullptr) {
        QProcess run;
        run.start("xdotool", arguments);
        if (!run.waitForFinished(30000) || run.exitCode() != 0) return false;
        if (output) *output = QString::fromLocal8Bit(run.readAllStandardOutput()).trimmed();
        return true;
    }

    // The first visible window whose title matches `title`, waited for; empty if none came.
    static QString findWindow(const QString& title) {
        QString ids;
        if (!xdotool({"search", "--sync", "--onlyvisible", "--name", title}, &ids)) return {};
        return ids.section('\n', 0, 0);
    }

    QString skipReason_;
};

int main(int argc, char* argv[]) {
    DummyXServer server;
    QString skipReason;
    const QString display = server.start(skipReason);
    if (!display.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("DISPLAY", display.toLatin1());
    }
    QGuiApplication app(argc, argv);
    TestXrandr test(skipReason);
    return QTest::qExec(&test, argc, argv);
}

#include "test_xrandr.moc"
