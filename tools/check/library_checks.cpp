#include "tools/check/library_checks.h"

#include "content/app_error.h"
#include "content/line_source.h"
#include "content/reader.h"
#include "tools/check/content_checks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace corvane::check {

namespace {

QString testNameOf(const QString& path) {
    return QFileInfo(path).fileName().remove(QStringLiteral(".txt"));
}

Finding missingPage(int question, const QString& what) {
    return {FindingKind::MissingPage,
            Severity::Error,
            0,
            question,
            QStringLiteral("%1 is missing, so the pupil sees no page there.").arg(what),
            QStringLiteral("Add the page to the test's page folder.")};
}

// The question count of a file that loads, or nothing.
std::optional<int> loadedCount(const QString& path) {
    QuestionStore store;
    try {
        readTestFile(QFile::encodeName(path).toStdString(), store);
    } catch (const AppError&) {
        return std::nullopt;
    }
    return std::min(store.questionCount, kMaxQuestions);
}

} // namespace

QStringList testFilesIn(const QString& folder) {
    const QDir dir(folder);
    QStringList paths;
    const QDir::Filters kinds = QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden;
    for (const QString& name :
         dir.entryList({QStringLiteral("*.txt")}, kinds, QDir::Name | QDir::IgnoreCase))
        paths << dir.filePath(name);
    return paths;
}

QString pageFolderOf(const QString& testFilePath) {
    return QString(testFilePath).remove(QStringLiteral(".txt"));
}

Findings checkPages(const QString& testFilePath, int questionCount) {
    const QString folder = pageFolderOf(testFilePath);
    if (!QFileInfo(folder).isDir())
        return {missingPage(0, QStringLiteral("The page folder %1").arg(folder))};
    Findings findings;
    const QDir pages(folder);
    if (!pages.exists(QStringLiteral("front.htm")))
        findings.push_back(missingPage(0, QStringLiteral("The front page front.htm")));
    for (int q = 1; q <= questionCount; ++q) {
        const QString name = QStringLiteral("question%1.htm").arg(q);
        if (!pages.exists(name))
            findings.push_back(missingPage(q, QStringLiteral("The page %1").arg(name)));
    }
    return findings;
}

Findings checkNameClashes(const QString& testFilePath, const QStringList& siblings) {
    const QString name = testNameOf(testFilePath);
    Findings findings;
    for (const QString& other : siblings) {
        const QString otherName = testNameOf(other);
        if (otherName != name && otherName.compare(name, Qt::CaseInsensitive) == 0)
            findings.push_back(
                {FindingKind::DuplicateName, Severity::Error, 0, 0,
                 QStringLiteral("The test %1 differs from %2 only in letter case; "
                                "on Windows they are the same file and the same "
                                "page folder.")
                     .arg(QFileInfo(testFilePath).fileName(), QFileInfo(other).fileName()),
                 QStringLiteral("Rename one of them.")});
    }
    return findings;
}

Findings checkTestFile(const QString& path) {
    const std::string nativePath = QFile::encodeName(path).toStdString();
    try {
        TestFileLines probe(nativePath);
    } catch (const AppError& error) {
        return {{FindingKind::LoadFailure, Severity::Error, 0, 0,
                 QStringLiteral("The file cannot be opened: \"%1\".").arg(error.what()),
                 QString()}};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{FindingKind::LoadFailure, Severity::Error, 0, 0, file.errorString(), QString()}};
    const QByteArray bytes = file.readAll();
    Findings findings = checkContent(std::string_view(bytes.constData(), bytes.size()));
    if (const auto count = loadedCount(path))
        for (Finding& page : checkPages(path, *count))
            findings.push_back(std::move(page));
    return findings;
}

} // namespace corvane::check
