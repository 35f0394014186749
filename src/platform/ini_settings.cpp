#include "platform/ini_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace corvane {

QString IniSettings::resultsFolder() {
    const QDir program(QString::fromStdString(programFolder_.path()));
    const QString file = program.filePath(QStringLiteral("corvane-maths.ini"));
    if (!QFileInfo(file).isFile()) return {};
    const QSettings settings(file, QSettings::IniFormat);
    const QString folder = settings.value(QStringLiteral("results/folder")).toString().trimmed();
    return folder.isEmpty() ? folder : QDir::cleanPath(program.absoluteFilePath(folder));
}

} // namespace corvane
