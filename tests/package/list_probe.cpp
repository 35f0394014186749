// A Qt plugin that the package test loads into the installed program through
// QT_QPA_GENERIC_PLUGINS, so that the program needs no test hook of its own: once the window
// shows its test list with entries, the probe prints the caption and the entries and ends the
// program; after 30 seconds without a list it ends it with 3. A message box on the way (the
// offer to switch the display) is printed and answered No, as a pupil might.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QGenericPlugin>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

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
            if (QAbstractButton* no = box->button(QMessageBox::No)) no->click();
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
        if (clock_.elapsed() < 30000) return;
        std::printf("no window with a filled test list\n");
        std::fflush(stdout);
        QCoreApplication::exit(3);
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
