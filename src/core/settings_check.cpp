// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings_check.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

SettingsProblem about(const ProgramSettings& settings, const char* key, const QString& text) {
    const auto place = settings.places.find(QString::fromLatin1(key));
    SettingsProblem problem{0, text, {}, QString::fromLatin1(key)};
    if (place != settings.places.end()) {
        problem.file = place->second.file;
        problem.line = place->second.line;
    }
    return problem;
}

// Why `folder` does not exist or is no folder; empty when it is a folder.
QString missing(const QString& what, const QString& folder) {
    struct stat status {};
    if (::stat(QFile::encodeName(folder).constData(), &status) == 0)
        return S_ISDIR(status.st_mode) ? QString()
                                       : QStringLiteral("%1 %2 is not a folder").arg(what, folder);
    const int error = errno;
    if (error == ENOENT) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (!QFileInfo(parent).isDir())
            return QStringLiteral("%1 %2 does not exist, nor does the folder %3 it would be in")
                .arg(what, folder, parent);
        return QStringLiteral("%1 %2 does not exist").arg(what, folder);
    }
    return QStringLiteral("%1 %2 cannot be reached: %3")
        .arg(what, folder, QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

std::optional<SettingsProblem> libraryFolderProblem(const ProgramSettings& settings) {
    const QString& folder = settings.libraryFolder;
    if (folder.isEmpty()) return std::nullopt;
    const char* key = "library/folder";
    const QString what = QStringLiteral("The library folder");
    if (const QString why = missing(what, folder); !why.isEmpty()) return about(settings, key, why);
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(
        ::opendir(QFile::encodeName(folder).constData()), &::closedir);
    if (!listing) {
        const int error = errno;
        return about(settings, key,
                     error == EACCES
                         ? QStringLiteral("%1 %2 cannot be read by this account (permission "
                                          "denied)")
                               .arg(what, folder)
                         : QStringLiteral("%1 %2 cannot be read: %3")
                               .arg(what, folder, QString::fromLocal8Bit(std::strerror(error))));
    }
    while (const dirent* entry = ::readdir(listing.get()))
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            return std::nullopt;
    return about(settings, key,
                 QStringLiteral("%1 %2 is empty: if it is a network share, it is not mounted")
                     .arg(what, folder));
}

std::vector<SettingsProblem> resultsFolderProblems(const ProgramSettings& settings) {
    const QString& folder = settings.resultsFolder;
    if (folder.isEmpty()) return {};
    const char* key = "results/folder";
    const QString what = QStringLiteral("The results folder");
    if (const QString why = missing(what, folder); !why.isEmpty())
        return {about(settings, key,
                      why + QStringLiteral(": records are kept on each computer "
                                           "until it is there"))};
    const QByteArray path = QFile::encodeName(folder);
    struct stat status {};
    ::stat(path.constData(), &status);
    const mode_t mode = status.st_mode;
    const QString modes = QString::number(mode & 07777, 8).rightJustified(4, '0');
    std::vector<SettingsProblem> problems;
    const auto add = [&](const QString& text) {
        problems.push_back(about(
            settings, key, QStringLiteral("%1 %2 (mode %3) %4").arg(what, folder, modes, text)));
    };
    if (::access(path.constData(), W_OK | X_OK) != 0)
        add(QStringLiteral("does not take this account's records (%1)")
                .arg(QString::fromLocal8Bit(std::strerror(errno))));
    const bool othersAdd = (mode & S_IWOTH) && (mode & S_IXOTH);
    if (::geteuid() == 0 && !othersAdd)
        add(QStringLiteral("does not take other accounts' records: a drop box for pupils is "
                           "mode 3773"));
    if (mode & S_IWOTH) {
        if (mode & S_IROTH) add(QStringLiteral("lets every account list the records"));
        if (!(mode & S_ISVTX))
            add(QStringLiteral("lets every account remove others' records (no sticky bit)"));
        if (!(mode & S_ISGID))
            add(QStringLiteral("gives records the pupil's group, not the folder's (no setgid "
                               "bit), so teachers cannot read them"));
    }
    return problems;
}

std::vector<SettingsProblem> settingsProblems(const ProgramSettings& settings) {
    std::vector<SettingsProblem> problems = settings.problems;
    if (std::optional<SettingsProblem> library = libraryFolderProblem(settings))
        problems.push_back(std::move(*library));
    for (SettingsProblem& results : resultsFolderProblems(settings))
        problems.push_back(std::move(results));
    return problems;
}

} // namespace corvane
