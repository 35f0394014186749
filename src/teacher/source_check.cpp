#include "teacher/source_check.h"

#include "tools/make/page_fit.h"
#include "tools/make/test_source.h"

#include <algorithm>

namespace corvane::teacher {

SourceCheck checkSource(const QByteArray& source, const QString& pictureFolder,
                        const QString& scratchLibrary, WebBrowserViews* pageEngine) {
    SourceCheck check;
    make::SourceErrors ignored; // makeTest names them again
    const make::TestSource parsed = make::parseSource(source, ignored);
    check.name = parsed.name;
    for (const make::QuestionPage& page : parsed.pages)
        check.questionLines.push_back(page.line);
    const make::MakeRequest request{source, QStringLiteral("source"), pictureFolder, scratchLibrary,
                                    true};
    const make::MakeResult made =
        pageEngine ? make::makeTestThatFits(request, *pageEngine) : make::makeTest(request);
    check.problems = made.errors;
    if (made.errors.empty()) {
        check.testFile = made.testFile;
        check.pageFolder = made.pageFolder;
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
