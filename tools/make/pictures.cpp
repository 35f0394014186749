// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/pictures.h"

#include "tools/make/markdown.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <set>
#include <sys/stat.h>

namespace corvane::make {

namespace {

// The line of the part that writes `address`, or the part's first line.
int lineOf(const MarkdownPart& part, const QString& address) {
    if (address.isEmpty()) return part.line;
    for (qsizetype i = 0; i < part.lines.size(); ++i)
        if (part.lines[i].contains(address)) return part.line + static_cast<int>(i);
    return part.line;
}

// Where the picture at `address` is read from: its real path, after every link, or empty with
// `problem` saying why it cannot be copied into the page folder. `realFolder` is the real path
// of the source's folder; the picture must be a regular file inside it.
QString realPicture(const QString& address, const QDir& folder, const QString& realFolder,
                    QString& problem) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const QString clean = QDir::cleanPath(address);
    static const QRegularExpression web(QStringLiteral("^(https?|ftp):"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (web.match(address).hasMatch())
        problem = QStringLiteral("is a web address; the pupils' machines may be offline");
    else if (scheme.match(address).hasMatch())
        problem = QStringLiteral("is an address, not a file beside the source");
    else if (address.isEmpty() || QDir::isAbsolutePath(address) ||
             address.contains(QLatin1Char('\\')) || clean == QLatin1String("..") ||
             clean.startsWith(QLatin1String("../")))
        problem = QStringLiteral("lies outside the source's folder");
    else if (!QFileInfo::exists(folder.filePath(clean)))
        problem =
            QStringLiteral("does not exist in %1").arg(QDir::toNativeSeparators(folder.path()));
    if (!problem.isEmpty()) return {};
    const QString real = QFileInfo(folder.filePath(clean)).canonicalFilePath();
    struct stat status {};
    if (real.isEmpty() || realFolder.isEmpty() || !real.startsWith(realFolder + QLatin1Char('/')))
        problem = QStringLiteral("leads out of the source's folder through a link");
    else if (::stat(QFile::encodeName(real).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        problem = QStringLiteral("is not a plain file");
    return problem.isEmpty() ? real : QString();
}

} // namespace

std::vector<PictureCopy> picturesOf(const TestSource& source, const QString& pictureFolder,
                                    SourceErrors& errors) {
    const QDir folder(pictureFolder);
    const QString realFolder = QFileInfo(pictureFolder).canonicalFilePath();
    std::vector<PictureCopy> copies;
    std::set<QString> seen;
    for (const MarkdownPart& part : markdownParts(source)) {
        for (const auto& [address, written, line] : picturesIn(part.text())) {
            QString problem;
            const QString real = realPicture(address, folder, realFolder, problem);
            if (!problem.isEmpty()) {
                errors.push_back({line > 0 ? part.line + line - 1 : lineOf(part, written),
                                  QStringLiteral("The picture \"%1\" %2.").arg(address, problem),
                                  QStringLiteral("Put the picture file beside the source (or "
                                                 "in a folder beside it) and write its name, "
                                                 "e.g. ![coins](coins.png).")});
                continue;
            }
            const QString clean = QDir::cleanPath(address);
            if (seen.insert(clean).second) copies.push_back({clean, real});
        }
    }
    return copies;
}

} // namespace corvane::make
