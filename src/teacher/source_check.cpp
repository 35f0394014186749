// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/source_check.h"

#include "tools/make/test_source.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>

#include <algorithm>

namespace corvane::teacher {

namespace {

// Every file of the page folder but its pages, by name and content: a page laid out before
// looks the same when its content and this are the same.
QByteArray picturesDigest(const QString& pageFolder) {
    QStringList files;
    QDirIterator found(pageFolder, QDir::Files, QDirIterator::Subdirectories);
    while (found.hasNext()) {
        const QString file = found.next();
        if (!file.endsWith(QLatin1String(".htm"))) files << file;
    }
    files.sort();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString& file : files) {
        hash.addData(QDir(pageFolder).relativeFilePath(file).toUtf8() + '\0');
        QFile picture(file);
        if (picture.open(QIODevice::ReadOnly)) hash.addData(&picture);
    }
    return hash.result();
}

} // namespace

SourceCheck checkSource(const QByteArray& source, const QString& pictureFolder,
                        const QString& scratchLibrary) {
    SourceCheck check;
    make::SourceErrors ignored; // makeTest names them again
    const make::TestSource parsed = make::parseSource(source, ignored);
    check.name = parsed.name;
    for (const make::QuestionPage& page : parsed.pages)
        check.questionLines.push_back(page.line);
    const make::MakeRequest request{source, QStringLiteral("source"), pictureFolder, scratchLibrary,
                                    true};
    const make::MakeResult made = make::makeTest(request);
    check.problems = made.errors;
    if (made.errors.empty()) {
        check.testFile = made.testFile;
        check.pageFolder = made.pageFolder;
        check.pictures = picturesDigest(made.pageFolder);
    }
    check.nameLine = made.nameLine;
    return check;
}

make::MakeResult madeBy(const SourceCheck& check) {
    make::MakeResult made;
    made.testFile = check.testFile;
    made.pageFolder = check.pageFolder;
    made.questionCount = static_cast<int>(check.questionLines.size());
    made.nameLine = check.nameLine;
    made.questionLines = check.questionLines;
    return made;
}

int questionAtLine(const std::vector<int>& questionLines, int line) {
    const auto after = std::upper_bound(questionLines.begin(), questionLines.end(), line);
    return static_cast<int>(after - questionLines.begin());
}

} // namespace corvane::teacher
