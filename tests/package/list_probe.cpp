// SPDX-License-Identifier: GPL-3.0-or-later
// A Qt plugin that the package test loads into the installed program through
// QT_QPA_GENERIC_PLUGINS, so that the program needs no test hook of its own: once the window
// shows its test list with entries, the probe prints the caption and the entries and ends the
// program. The offer to switch the display is printed and answered No, as a pupil might; any
// other message box, or no list after 30 seconds, ends the program with 3.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QGenericPlugin>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

class ListWatcher : public QObject {
  public:
    ListWatcher() {
        clock_.start();
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &ListWatcher::look);
        timer->start(100);
    }

  private:
    void look() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::printf("dialog: %s\n", qPrintable(box->text()));
            QAbstractButton* no = box->button(QMessageBox::No);
            if (!no) fail("a message box other than the display offer");
            no->click();
            return;
        }
        for (QWidget* window : QApplication::topLevelWidgets()) {
            const auto* list = window->findChild<QListWidget*>("FileList");
            if (!window->isVisible() || !list || !list->isVisible() || list->count() == 0) continue;
            std::printf("window: %s\n", qPrintable(window->windowTitle()));
            for (int row = 0; row < list->count(); ++row)
                std::printf("listed: %s\n", list->item(row)->text().toUtf8().constData());
            std::fflush(stdout);
            QCoreApplication::exit(0);
            return;
        }
        if (clock_.elapsed() >= 30000) fail("no window with a filled test list");
    }

    // Ends at once: from inside a dialog's event loop, exit() would only end that loop.
    [[noreturn]] static void fail(const char* why) {
        std::printf("%s\n", why);
        std::fflush(stdout);
        std::_Exit(3);
    }

    QElapsedTimer clock_;
};

} // namespace

class ListProbe : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "list_probe.json")
  public:
    QObject* create(const QString&, const QString&) override { return new ListWatcher; }
};

#include "list_probe.moc"
