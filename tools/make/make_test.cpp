// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make/make_test.h"

#include "tools/make/answers.h"
#include "tools/make/markdown.h"
#include "tools/make/maths_typesetter.h"
#include "tools/make/output.h"
#include "tools/make/test_file_writer.h"
#include "tools/make/test_source.h"

#include <algorithm>
#include <optional>

namespace corvane::make {

namespace {

// The comment lines of the test file: each question's heading, plain.
std::vector<Text> comments(const TestSource& source) {
    std::vector<Text> lines;
    for (int q = 1; q <= source.store.questionCount; ++q)
        lines.push_back(fromQt(unescaped(source.pages[static_cast<std::size_t>(q - 1)].heading)));
    return lines;
}

std::vector<int> questionLines(const TestSource& source) {
    std::vector<int> lines;
    for (const QuestionPage& page : source.pages)
        lines.push_back(page.line);
    return lines;
}

// A picture named like a page would overwrite it.
void checkPictureNames(const TestFiles& files, int line, SourceErrors& errors) {
    for (const PictureCopy& picture : files.pictures)
        for (const PageFile& page : files.pages)
            if (picture.relativePath.compare(page.name, Qt::CaseInsensitive) == 0)
                errors.push_back(
                    {line,
                     QStringLiteral("The picture \"%1\" has the name of a page of the test.")
                         .arg(picture.relativePath),
                     QStringLiteral("Rename the picture.")});
}

// The HTML the author wrote, against the allow-list: each thing a page may not hold is an
// error on its line. (What the pages' own markup adds is ours, and not checked.)
void checkWrittenHtml(const TestSource& source, SourceErrors& errors) {
    for (const MarkdownPart& part : markdownParts(source))
        for (const HtmlRefusal& refused : refusedIn(part.text()))
            errors.push_back(
                {part.line + refused.line - 1,
                 QStringLiteral("A test page may not hold %1.").arg(refused.what),
                 QStringLiteral("Remove it: a page holds text, headings, lists, tables, "
                                "emphasis and pictures beside the source, nothing that runs, "
                                "links or fetches.")});
}

} // namespace

MakeResult makeTest(const MakeRequest& request) {
    MakeResult result;
    SourceErrors& errors = result.errors;
    const TestSource source = parseSource(request.sourceText, errors);
    if (source.nameLine == 0) return result;
    if (const QString problem = testNameProblem(source.name); !problem.isEmpty())
        errors.push_back({source.nameLine,
                          QStringLiteral("The test's name \"%1\" %2.").arg(source.name, problem),
                          QStringLiteral("Write the name with letters, digits, blanks and "
                                         "simple signs such as - and ( ).")});
    checkWrittenHtml(source, errors);
    TestFiles files{source.name, {}, {}, picturesOf(source, request.pictureFolder, errors)};
    std::stable_sort(errors.begin(), errors.end(),
                     [](const SourceError& a, const SourceError& b) { return a.line < b.line; });
    if (!errors.empty()) return result;

    files.testFile = testFileBytes(source.store, comments(source));
    std::optional<MathsTypesetter> ownMaths;
    files.pages = testPages(source, request.maths ? *request.maths : ownMaths.emplace(), errors);
    std::stable_sort(errors.begin(), errors.end(),
                     [](const SourceError& a, const SourceError& b) { return a.line < b.line; });
    if (!errors.empty()) return result;
    checkPictureNames(files, source.nameLine, errors);
    writeTestFiles(files,
                   {request.outFolder, request.sourceText, request.pictureFolder, request.force},
                   questionLines(source), errors);
    for (SourceError& error : errors)
        if (error.line == 0) error.line = source.nameLine;
    if (!errors.empty()) return result;
    const TestPlace place = placeIn(request.outFolder, source.name);
    result.testFile = place.testFile;
    result.pageFolder = place.pageFolder;
    result.questionCount = source.store.questionCount;
    result.nameLine = source.nameLine;
    result.questionLines = questionLines(source);
    return result;
}

QString formatErrors(const QString& sourceName, const SourceErrors& errors) {
    QString text;
    for (const SourceError& error : errors) {
        text += QStringLiteral("%1:%2: %3\n").arg(sourceName).arg(error.line).arg(error.message);
        if (!error.fix.isEmpty()) text += QStringLiteral("    fix: %1\n").arg(error.fix);
    }
    return text;
}

} // namespace corvane::make
