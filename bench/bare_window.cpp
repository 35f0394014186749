// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up reference: a Qt Widgets program that shows one empty white 790 x 564 window,
// titled so that the start-up probe finds it.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Bare Window");
    window.setFixedSize(790, 564);
    QPalette colours = window.palette();
    colours.setColor(QPalette::Window, Qt::white);
    window.setPalette(colours);
    window.setAutoFillBackground(true);
    window.show();
    return QApplication::exec();
}
