// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's Results page alone in a window, for trying it by hand and under Xvfb:
//   results_window [FOLDER [LIBRARY]]
// Without a FOLDER it opens the one the page would start with (chosen last, or the class
// record's folder of corvane-maths.ini).
#include "teacher/results_page.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Corvane"));
    QApplication::setApplicationName(QStringLiteral("corvane-teacher"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Results"));
    auto* page = new corvane::teacher::ResultsPage(&window);
    window.setCentralWidget(page);
    const QStringList args = QApplication::arguments();
    if (args.size() > 2) page->setLibrary(args[2]);
    const QString folder = args.size() > 1 ? args[1] : corvane::teacher::ResultsPage::startFolder();
    if (!folder.isEmpty()) page->openFolder(folder);
    window.resize(1100, 760);
    window.show();
    return app.exec();
}
