// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

namespace corvane {
namespace {

// xdg-open's exit statuses, as a reader of the message understands them.
QString openerFailure(int status) {
    switch (status) {
    case 2:
        return QStringLiteral("the file was not found");
    case 3:
        return QStringLiteral("no program to show it is installed");
    default:
        return QStringLiteral("the program to show it failed");
    }
}

} // namespace

void DesktopDocuments::open(const std::string& path, QObject* context,
                            std::function<void(const QString&)> failed) {
    const QString file = QFile::decodeName(QByteArray::fromStdString(path));
    if (!QFileInfo(file).isReadable()) return failed(QStringLiteral("the file is missing"));
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) return failed(QStringLiteral("xdg-open (package xdg-utils) is missing"));

    // xdg-open may wait for the viewer to close, so its end is heard, never waited for.
    auto* process = new QProcess(context);
    process->setProcessChannelMode(QProcess::ForwardedChannels); // a viewer's chatter never blocks
    QObject::connect(process, &QProcess::finished, context,
                     [process, failed](int status, QProcess::ExitStatus how) {
                         process->deleteLater();
                         if (how == QProcess::CrashExit || status != 0)
                             failed(openerFailure(how == QProcess::CrashExit ? -1 : status));
                     });
    QObject::connect(process, &QProcess::errorOccurred, context,
                     [process, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         process->deleteLater();
                         failed(process->errorString());
                     });
    process->start(opener, {file});
}

std::string ExecutableFolder::path() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

} // namespace corvane
