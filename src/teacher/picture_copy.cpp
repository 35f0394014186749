// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/picture_copy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace corvane::teacher {

namespace {

bool sameBytes(const QString& a, const QString& b) {
    QFile one(a);
    QFile two(b);
    if (one.size() != two.size() || !one.open(QIODevice::ReadOnly) ||
        !two.open(QIODevice::ReadOnly))
        return false;
    while (!one.atEnd())
        if (one.read(1 << 16) != two.read(1 << 16)) return false;
    return true;
}

} // namespace

QString copyPictureInto(const QString& file, const QString& folder) {
    const QFileInfo picture(file);
    if (!picture.isFile()) return {};
    const QDir into(folder);
    if (picture.absoluteDir() == into) return picture.fileName();
    static const QRegularExpression unsafe(QStringLiteral("[()\\[\\]<>\\\\]"));
    const QString base = picture.completeBaseName().replace(unsafe, QStringLiteral("-"));
    const QString suffix =
        picture.suffix().isEmpty() ? QString() : QLatin1Char('.') + picture.suffix();
    for (int n = 1; n < 1000; ++n) {
        const QString name =
            n == 1 ? base + suffix : QStringLiteral("%1 %2%3").arg(base).arg(n).arg(suffix);
        const QString target = into.filePath(name);
        if (!QFileInfo::exists(target)) return QFile::copy(file, target) ? name : QString();
        if (sameBytes(file, target)) return name;
    }
    return {};
}

QString pictureLine(const QString& name) {
    return QStringLiteral("![%1](%2)").arg(QFileInfo(name).completeBaseName(), name);
}

} // namespace corvane::teacher
