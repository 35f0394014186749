// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/pictures.h"

#include "tools/make/markdown.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <set>

namespace corvane::make {

namespace {

// The line of the part that writes `address`, or the part's first line.
int lineOf(const MarkdownPart& part, const QString& address) {
    if (address.isEmpty()) return part.line;
    for (qsizetype i = 0; i < part.lines.size(); ++i)
        if (part.lines[i].contains(address)) return part.line + static_cast<int>(i);
    return part.line;
}

// Why the address cannot be copied into the page folder, or empty when it can.
QString problemWith(const QString& address, const QDir& folder) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(address).hasMatch())
        return QStringLiteral("is a web address; the pupils' machines may be offline");
    const QString clean = QDir::cleanPath(address);
    if (address.isEmpty() || QDir::isAbsolutePath(address) || address.contains(QLatin1Char('\\')) ||
        clean == QLatin1String("..") || clean.startsWith(QLatin1String("../")))
        return QStringLiteral("lies outside the source's folder");
    if (!QFileInfo(folder.filePath(clean)).isFile())
        return QStringLiteral("does not exist in %1").arg(QDir::toNativeSeparators(folder.path()));
    return {};
}

} // namespace

std::vector<PictureCopy> picturesOf(const TestSource& source, const QString& pictureFolder,
                                    SourceErrors& errors) {
    std::vector<const MarkdownPart*> parts{&source.front};
    std::vector<MarkdownPart> headings;
    headings.reserve(source.pages.size());
    for (const QuestionPage& page : source.pages) {
        headings.push_back({page.line, {page.heading}});
        parts.push_back(&page.body);
        for (const MarkdownPart& card : page.cards)
            parts.push_back(&card);
    }
    for (const MarkdownPart& heading : headings)
        parts.push_back(&heading);

    const QDir folder(pictureFolder);
    std::vector<PictureCopy> copies;
    std::set<QString> seen;
    for (const MarkdownPart* part : parts) {
        for (const auto& [address, written] : picturesIn(part->text())) {
            const QString problem = problemWith(address, folder);
            if (!problem.isEmpty()) {
                errors.push_back({lineOf(*part, written),
                                  QStringLiteral("The picture \"%1\" %2.").arg(address, problem),
                                  QStringLiteral("Put the picture file beside the source (or "
                                                 "in a folder beside it) and write its name, "
                                                 "e.g. ![coins](coins.png).")});
                continue;
            }
            const QString clean = QDir::cleanPath(address);
            if (seen.insert(clean).second) copies.push_back({clean, folder.filePath(clean)});
        }
    }
    return copies;
}

} // namespace corvane::make
