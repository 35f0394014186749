// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ini_settings.h"

#include <QFile>

namespace corvane {

ProgramSettings IniSettings::read() {
    return readProgramSettings(QFile::decodeName(QByteArray::fromStdString(programFolder_.path())));
}

} // namespace corvane
