// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the program's icon into a hicolor icon theme folder at the sizes desktop menus use,
// drawn by the same code as the window's icon.
//   corvane-icons FOLDER   writes FOLDER/NxN/apps/corvane-maths.png

#include "pupil/fonts.h"
#include "pupil/pictures.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvane-icons FOLDER\n");
        return 2;
    }
    corvane::registerFontSubstitutes();
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString apps = QString("%1/%2x%2/apps").arg(folder).arg(side);
        const QString file = apps + "/corvane-maths.png";
        if (!QDir().mkpath(apps) || !corvane::drawWindowIcon(side).save(file, "PNG")) {
            std::fprintf(stderr, "corvane-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
