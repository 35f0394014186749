// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop.h"
#include "platform/file_results_folder.h"
#include "platform/ini_settings.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_report_printer.h"
#include "platform/qt_speech.h"
#include "platform/screen_display_modes.h"
#include "platform/web_browser_view.h"
#include "pupil/file_list_box.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "pupil/record_keeper.h"
#include "pupil/screen_fit.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalSocket[2] = {-1, -1};

extern "C" void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[1], &byte, 1);
}

// SIGTERM, SIGINT and SIGHUP end the program as closing the window does, so that a switched
// display mode is restored. The handler only writes a byte; the event loop does the rest, also
// while the display offer is still open (then there is nothing to restore yet).
void endOnTerminationSignals(QPointer<corvane::TForm1>& form, bool& ended) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0) return;
    auto* notifier = new QSocketNotifier(signalSocket[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [&form, &ended, notifier] {
        notifier->setEnabled(false);
        ended = true;
        if (form) form->close();
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

// Calls `action` once, just after the test list has first been painted with its entries:
// then the start screen is complete on screen.
void afterListShown(corvane::FileListBox* list, std::function<void()> action) {
    class Watcher : public QObject {
      public:
        Watcher(corvane::FileListBox* list, std::function<void()> action)
            : QObject(list), list_(list), action_(std::move(action)) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint && list_->count() > 0) {
                list_->viewport()->removeEventFilter(this);
                QTimer::singleShot(0, list_, action_);
                deleteLater();
            }
            return false;
        }

      private:
        corvane::FileListBox* list_;
        std::function<void()> action_;
    };
    list->viewport()->installEventFilter(new Watcher(list, std::move(action)));
}

} // namespace

int main(int argc, char* argv[]) {
    corvane::WebBrowserViews::prepareEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvane Maths");
    corvane::registerFontSubstitutes();

    QPointer<corvane::TForm1> shownForm;
    bool ended = false;
    endOnTerminationSignals(shownForm, ended);

    corvane::QtDialogs dialogs;
    // The browser engine is a plugin beside the program, loaded once a page is first needed.
    corvane::WebBrowserViews browsers(corvane::WebBrowserViews::besideProgram());
    corvane::ScreenDisplayModes display;
    corvane::DesktopDocuments documents;
    corvane::ExecutableFolder folder;
    corvane::QtReportPrinter printer;
    corvane::IniSettings settings(folder);
    corvane::FileResultsFolder results;
    corvane::QtSpeech speech;
    corvane::TForm1 form(
        {dialogs, browsers, display, documents, folder, printer, settings, results, &speech});
    if (ended) return 0;
    shownForm = &form;
    dialogs.setOwner(&form);
    printer.setOwner(&form);

    // Centred on the screen; after a switch the toolkit learns the new size only later, from
    // the event loop, so the switched size is asked of the display itself.
    // A screen too small for the window (or large text) gets it in a scrolling frame.
    std::unique_ptr<QWidget> frame;
    QWidget* window = &form;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = form.displayModeChanged
                               ? QRect(screen->geometry().topLeft(), display.screenSize())
                               : screen->availableGeometry();
        frame = corvane::fitToScreen(form, area);
        if (frame) window = frame.get();
        window->move(area.center() - window->rect().center());
    }
    // The browser engine starts while the pupil types her name, so that the front page
    // opens without waiting for it.
    afterListShown(form.FileList, [&browsers] { browsers.warmUp(); });
    window->show();
    const int status = QApplication::exec();
    // A folder that hangs past closing: what the results folder did not take is kept on this
    // computer (a record cut off while being kept is finished at the next start, when whole),
    // so the program ends without waiting for it.
    if (form.recordKeeper().stillSending()) std::_Exit(status);
    return status;
}
