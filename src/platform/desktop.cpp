#include "platform/desktop.h"

#include "core/text.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace corvane {

void DesktopDocuments::open(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

std::string ExecutableFolder::path() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

} // namespace corvane
