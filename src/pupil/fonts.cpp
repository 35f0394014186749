// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/fonts.h"

#include <QFont>

namespace corvane {

void registerFontSubstitutes() {
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Comic Sans MS", "Comic Neue");
}

} // namespace corvane
