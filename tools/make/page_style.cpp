// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/page_style.h"

#include <QFile>

namespace corvane::make {

QByteArray pageStyle() {
    QFile style(QStringLiteral(":/corvane-make/style.css"));
    if (!style.open(QIODevice::ReadOnly)) qFatal("the page style is not built in");
    return style.readAll();
}

} // namespace corvane::make
