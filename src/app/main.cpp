#include "app/fonts.h"
#include "app/form.h"
#include "platform/desktop.h"
#include "platform/qt_dialogs.h"
#include "platform/screen_display_modes.h"
#include "platform/web_browser_view.h"

#include <QApplication>
#include <QScreen>

#include <unistd.h>

int main(int argc, char* argv[]) {
    // The browser engine refuses to start its sandbox as root; only then is it turned off.
    if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvane Maths");
    corvane::registerFontSubstitutes();

    corvane::QtDialogs dialogs;
    corvane::WebBrowserViews browsers;
    corvane::ScreenDisplayModes display;
    corvane::DesktopDocuments documents;
    corvane::ExecutableFolder folder;
    corvane::TForm1 form({dialogs, browsers, display, documents, folder});
    dialogs.setOwner(&form);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form.move(screen->availableGeometry().center() - form.rect().center());
    form.show();
    return QApplication::exec();
}
