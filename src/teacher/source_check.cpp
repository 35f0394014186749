#include "teacher/source_check.h"

#include "tools/make/test_source.h"

#include <algorithm>

namespace corvane::teacher {

SourceCheck checkSource(const QByteArray& source, const QString& pictureFolder,
                        const QString& scratchLibrary) {
    SourceCheck check;
    make::SourceErrors ignored; // makeTest names them again
    const make::TestSource parsed = make::parseSource(source, ignored);
    check.name = parsed.name;
    for (const make::QuestionPage& page : parsed.pages)
        check.questionLines.push_back(page.line);
    const make::MakeResult made =
        make::makeTest({source, QStringLiteral("source"), pictureFolder, scratchLibrary, true});
    check.problems = made.errors;
    check.testFile = made.testFile;
    return check;
}

int questionAtLine(const std::vector<int>& questionLines, int line) {
    const auto after = std::upper_bound(questionLines.begin(), questionLines.end(), line);
    return static_cast<int>(after - questionLines.begin());
}

} // namespace corvane::teacher
