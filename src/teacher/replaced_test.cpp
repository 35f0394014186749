// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/replaced_test.h"

#include "teacher/folder_copy.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace corvane::teacher {

namespace {

// Inside the keep folder: the test file, its pages, and where they came from.
const char* const kTest = "test.txt";
const char* const kPages = "pages";
const char* const kPlace = "place.txt";

} // namespace

ReplacedTest::ReplacedTest(QString keepFolder)
    : folder_(keepFolder.isEmpty()
                  ? QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                        .filePath(QStringLiteral("replaced test"))
                  : std::move(keepFolder)) {}

bool ReplacedTest::keep(const make::TestPlace& place) {
    QDir folder(folder_);
    folder.removeRecursively();
    QSaveFile where(folder.filePath(QLatin1String(kPlace)));
    const bool kept =
        QDir().mkpath(folder_) &&
        QFile::copy(place.testFile, folder.filePath(QLatin1String(kTest))) &&
        (!QFileInfo(place.pageFolder).isDir() ||
         copyFolder(place.pageFolder, folder.filePath(QLatin1String(kPages)))) &&
        where.open(QIODevice::WriteOnly) &&
        where.write((place.testFile + QLatin1Char('\n') + place.pageFolder).toUtf8()) > 0 &&
        where.commit();
    if (!kept) folder.removeRecursively();
    return kept;
}

QString ReplacedTest::testFile() const {
    QFile where(QDir(folder_).filePath(QLatin1String(kPlace)));
    if (!where.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(where.readAll()).section(QLatin1Char('\n'), 0, 0);
}

bool ReplacedTest::has() const {
    return !testFile().isEmpty();
}

bool ReplacedTest::restore() {
    QFile where(QDir(folder_).filePath(QLatin1String(kPlace)));
    if (!where.open(QIODevice::ReadOnly)) return false;
    const QStringList place = QString::fromUtf8(where.readAll()).split(QLatin1Char('\n'));
    where.close();
    if (place.size() != 2 || place[0].isEmpty() || place[1].isEmpty()) return false;
    const QDir folder(folder_);
    const QString pages = folder.filePath(QLatin1String(kPages));
    QDir(place[1]).removeRecursively();
    QFile::remove(place[0]);
    const bool restored = (!QFileInfo(pages).isDir() || copyFolder(pages, place[1])) &&
                          QFile::copy(folder.filePath(QLatin1String(kTest)), place[0]);
    if (restored) QDir(folder_).removeRecursively();
    return restored;
}

} // namespace corvane::teacher
