// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/crash_copy.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace corvane::teacher {

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

CrashCopy::CrashCopy(const QString& folder) {
    const QString dir = folder.isEmpty()
                            ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                            : folder;
    QDir().mkpath(dir);
    textPath_ = dir + QStringLiteral("/unsaved-source.md");
    pathPath_ = dir + QStringLiteral("/unsaved-source.path");
}

bool CrashCopy::write(const QString& text, const QString& sourcePath) const {
    // The path first: a copy is only offered once its text is complete.
    return writeFile(pathPath_, sourcePath.toUtf8()) && writeFile(textPath_, text.toUtf8());
}

void CrashCopy::remove() const {
    QFile::remove(textPath_);
    QFile::remove(pathPath_);
}

std::optional<CrashCopy::Kept> CrashCopy::find() const {
    QFile text(textPath_);
    if (!text.open(QIODevice::ReadOnly)) return std::nullopt;
    Kept kept{QString::fromUtf8(text.readAll()), {}};
    QFile path(pathPath_);
    if (path.open(QIODevice::ReadOnly)) kept.sourcePath = QString::fromUtf8(path.readAll());
    return kept;
}

} // namespace corvane::teacher
