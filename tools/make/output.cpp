// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/output.h"

#include "core/app_error.h"
#include "tools/check/library_checks.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>
#include <sys/stat.h>

namespace corvane::make {

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// Writes the test into `folder` as it will stand in the library; the failing path or empty.
QString stage(const TestFiles& files, const QDir& folder) {
    const TestPlace place = placeIn(folder.path(), files.name);
    if (!writeFile(place.testFile, files.testFile)) return place.testFile;
    const QDir pages(place.pageFolder);
    if (!QDir().mkpath(pages.path())) return pages.path();
    for (const PageFile& page : files.pages) {
        const QString to = pages.filePath(page.name);
        if (!QDir().mkpath(QFileInfo(to).path()) || !writeFile(to, page.bytes)) return to;
    }
    for (const PictureCopy& picture : files.pictures) {
        const QString to = pages.filePath(picture.relativePath);
        QFile from(picture.from);
        if (!from.open(QIODevice::ReadOnly)) return picture.from;
        if (!QDir().mkpath(QFileInfo(to).path()) || !writeFile(to, from.readAll())) return to;
    }
    return {};
}

// What stands at `path` itself (a link is not followed): 0 for nothing.
mode_t kindAt(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & S_IFMT : 0;
}

bool exists(const TestPlace& place) {
    return kindAt(place.testFile) != 0 || kindAt(place.pageFolder) != 0;
}

// Why what stands at the test's place is not a test made before, which alone may be replaced:
// a test file that is not a plain file, a page folder that is not a folder (the source itself
// when the test is named as its file), a link, a folder without its test file. Empty when the
// place is free or holds a test.
QString clashAt(const TestPlace& place) {
    const mode_t file = kindAt(place.testFile);
    const mode_t folder = kindAt(place.pageFolder);
    const QString testFile = QDir::toNativeSeparators(place.testFile);
    const QString pageFolder = QDir::toNativeSeparators(place.pageFolder);
    if (file == S_IFLNK || folder == S_IFLNK)
        return QStringLiteral("%1 is a link, not a test's file or page folder.")
            .arg(file == S_IFLNK ? testFile : pageFolder);
    if (file != 0 && file != S_IFREG)
        return QStringLiteral("%1 is a folder or a special file, not a test file.").arg(testFile);
    if (folder != 0 && folder != S_IFDIR)
        return QStringLiteral("%1 is a file, not a test's page folder; the test's page folder "
                              "would take its place.")
            .arg(pageFolder);
    if (folder == S_IFDIR && file == 0)
        return QStringLiteral("%1 is a folder that is no test's page folder: there is no %2 "
                              "beside it.")
            .arg(pageFolder, testFile);
    return {};
}

// Moves `from` into `to`'s place, first moving what stands there into `aside`. On failure
// everything is put back.
bool replace(const TestPlace& from, const TestPlace& to, const TestPlace& aside) {
    QDir dir;
    const bool hadFile = QFileInfo::exists(to.testFile);
    const bool hadFolder = QFileInfo::exists(to.pageFolder);
    const bool movedAside = (!hadFile || dir.rename(to.testFile, aside.testFile)) &&
                            (!hadFolder || dir.rename(to.pageFolder, aside.pageFolder));
    const bool moved = movedAside && dir.rename(from.pageFolder, to.pageFolder);
    if (moved && dir.rename(from.testFile, to.testFile)) return true;
    if (moved) dir.rename(to.pageFolder, from.pageFolder);
    if (hadFolder) dir.rename(aside.pageFolder, to.pageFolder);
    if (hadFile) dir.rename(aside.testFile, to.testFile);
    return false;
}

// The file at the test's place that holds exactly `source`, or empty: making the test would
// replace it, and it may be the very source being read (Fractions.txt made from itself).
QString sourceAt(const TestPlace& place, const QByteArray& source) {
    QStringList files{place.testFile};
    QDirIterator it(place.pageFolder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    for (const QString& path : files) {
        QFile file(path);
        if (file.size() == source.size() && file.open(QIODevice::ReadOnly) &&
            file.readAll() == source)
            return path;
    }
    return {};
}

// True when `folder` is the page folder or lies inside it, which making the test replaces.
bool isInPageFolder(const QString& folder, const TestPlace& place) {
    const QString inside = QFileInfo(folder).canonicalFilePath();
    const QString pages = QFileInfo(place.pageFolder).canonicalFilePath();
    return !inside.isEmpty() && !pages.isEmpty() &&
           (inside == pages || inside.startsWith(pages + QLatin1Char('/')));
}

// Why nothing can be written in `folder` (made if missing), or empty when it can.
QString unwritable(const QString& folder) {
    QString existing = QDir::cleanPath(QDir(folder).absolutePath());
    while (!QFileInfo(existing).isDir() && existing != QFileInfo(existing).path())
        existing = QFileInfo(existing).path();
    const QFileInfo info(existing);
    if (!info.isWritable() || !info.isExecutable()) return QStringLiteral("permission denied");
    if (!QDir().mkpath(folder)) return QStringLiteral("the folder cannot be made");
    return {};
}

} // namespace

TestPlace placeIn(const QString& libraryFolder, const QString& name) {
    const QDir library(libraryFolder);
    return {library.filePath(name + QStringLiteral(".txt")), library.filePath(name)};
}

void writeTestFiles(const TestFiles& files, const WriteTarget& target,
                    const std::vector<int>& questionLines, SourceErrors& errors) {
    const QString& libraryFolder = target.libraryFolder;
    const TestPlace place = placeIn(libraryFolder, files.name);
    const QString shown = QDir::toNativeSeparators(place.testFile);
    if (const QString source = sourceAt(place, target.sourceText); !source.isEmpty()) {
        errors.push_back(
            {0,
             QStringLiteral("%1 holds this source; the test made from it would write over it.")
                 .arg(QDir::toNativeSeparators(source)),
             QStringLiteral("Keep the source outside the test's place, e.g. as %1.md beside "
                            "the library, or choose another folder with --out.")
                 .arg(files.name)});
        return;
    }
    if (isInPageFolder(target.sourceFolder, place)) {
        errors.push_back(
            {0,
             QStringLiteral("The source lies in %1, the page folder that making the test "
                            "replaces.")
                 .arg(QDir::toNativeSeparators(place.pageFolder)),
             QStringLiteral("Keep the source and its pictures outside the page folder, or "
                            "choose another folder with --out.")});
        return;
    }
    std::vector<check::NativePath> others;
    try {
        others = check::testFilesIn(check::nativePath(libraryFolder));
    } catch (const AppError&) {
        // A library folder that does not exist yet holds no other test.
    }
    for (const check::Finding& clash :
         check::checkNameClashes(check::nativePath(place.testFile), others))
        errors.push_back({0, clash.explanation,
                          QStringLiteral("Change the test's name, or remove the other test.")});
    if (const QString clash = clashAt(place); !clash.isEmpty()) {
        errors.push_back({0, clash,
                          QStringLiteral("Change the test's name on the first line, or choose "
                                         "another folder with --out.")});
        return;
    }
    if (exists(place) && !target.force)
        errors.push_back(
            {0, QStringLiteral("A test named \"%1\" already exists: %2.").arg(files.name, shown),
             QStringLiteral("Run again with --force to replace it, or change the "
                            "name on the first line.")});
    if (!errors.empty()) return;
    // The new test is staged under its own name, and an old one is moved aside under a name
    // no test can have (test names never start with a full stop).
    QString problem = unwritable(libraryFolder);
    std::optional<QTemporaryDir> staging;
    if (problem.isEmpty()) {
        staging.emplace(QDir(libraryFolder).filePath(QStringLiteral(".corvane-make-XXXXXX")));
        if (!staging->isValid()) problem = staging->errorString();
    }
    if (!problem.isEmpty()) {
        problem[0] = problem[0].toLower();
        errors.push_back({0,
                          QStringLiteral("cannot write in %1: %2")
                              .arg(QDir::toNativeSeparators(libraryFolder), problem),
                          QStringLiteral("Choose a folder you can write in with --out, e.g. "
                                         "--out ~/tests.")});
        return;
    }
    const QDir made(staging->path());
    if (const QString failed = stage(files, made); !failed.isEmpty()) {
        errors.push_back(
            {0, QStringLiteral("%1 cannot be written.").arg(QDir::toNativeSeparators(failed)),
             QStringLiteral("Check that the disk is not full, or choose another folder with "
                            "--out.")});
        return;
    }
    // The same checks as corvane-check, on the files exactly as they will stand.
    for (const check::Finding& finding :
         check::checkTestFile(check::nativePath(placeIn(made.path(), files.name).testFile))) {
        const int q = finding.question;
        const int line = q >= 1 && q <= static_cast<int>(questionLines.size())
                             ? questionLines[static_cast<std::size_t>(q - 1)]
                             : 0;
        errors.push_back({line,
                          QStringLiteral("The made test would not pass the checker: %1")
                              .arg(finding.explanation),
                          finding.fix});
    }
    if (!errors.empty()) return;
    if (!replace(placeIn(made.path(), files.name), place,
                 placeIn(made.path(), QStringLiteral(".old"))))
        errors.push_back({0, QStringLiteral("The test cannot be moved into %1.").arg(shown),
                          QStringLiteral("Check that the folder is writable and nothing holds "
                                         "the old test open.")});
}

} // namespace corvane::make
