// SPDX-License-Identifier: GPL-3.0-or-later
// Making a 30-question test of every type from its source, against writing the same files'
// bytes (the test file, the pages, the style sheet and a picture) into a fresh folder.
#include "bench/report.h"
#include "tools/make/make_test.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

using namespace corvane;
using namespace corvane::bench;

namespace {

// Thirty questions going round the eleven types, with a picture on the first.
QByteArray thirtyQuestionSource() {
    const char* const answers[] = {
        "- [ ] 1/4\n- [x] 1/2\n- [ ] 1/3",
        "- [x] 2/4\n- [ ] 2/3\n- [x] 5/10\n- [ ] 1/5",
        "Answer: yes",
        "- 1/2\n- 1/8\n- 1/4\n\nOrder: 1/8, 1/4, 1/2",
        "- 7\n- 70\n- 17\n\nLabelled order: [Biggest:] 70, 17, 7",
        "Word: forty",
        "Money: £1.50",
        "Number: 1,245",
        "Time: 2:30",
        "Pair: 4 r 3",
        "Pairs: 1/3 or 2/6 or 3/9",
    };
    QByteArray source = "# Bench Make\nThirty questions of **every** type.\n\n";
    for (int q = 1; q <= 30; ++q) {
        source += "## Question " + QByteArray::number(q) + ": what is the answer?\n";
        source += q == 1 ? "![coins](coins.svg)\n\n" : "Some *text* for the page.\n\n";
        source += QByteArray(answers[(q - 1) % 11]) + "\n\n";
    }
    return source;
}

struct File {
    QString relativePath;
    QByteArray bytes;
};

std::vector<File> filesUnder(const QString& folder) {
    std::vector<File> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(it.filePath()));
        files.push_back({QDir(folder).relativeFilePath(it.filePath()), file.readAll()});
    }
    return files;
}

void writeFiles(const std::vector<File>& files, const QDir& into) {
    for (const File& file : files) {
        const QString path = into.filePath(file.relativePath);
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }
}

// Median times of making the test into a fresh folder under `root`, and of writing the made
// files' bytes into another one.
std::pair<double, double> measure(const QString& root) {
    constexpr int kRuns = 41;
    QTemporaryDir work(root + QStringLiteral("/make-bench-XXXXXX"));
    QFile picture(work.filePath("coins.svg"));
    if (!picture.open(QIODevice::WriteOnly)) qFatal("cannot write the picture");
    picture.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"90\" height=\"90\">"
                  "<circle cx=\"45\" cy=\"45\" r=\"40\" fill=\"#facc15\"/></svg>\n");
    picture.close();

    const QByteArray source = thirtyQuestionSource();
    std::vector<double> making, writing;
    std::vector<File> made;
    for (int run = 0; run < kRuns; ++run) {
        const QString library = work.filePath(QStringLiteral("made%1").arg(run));
        auto start = Clock::now();
        const make::MakeResult result = make::makeTest({source, "bench.md", work.path(), library});
        making.push_back(millisecondsSince(start));
        if (!result.errors.empty() || result.questionCount != 30)
            qFatal("%s", qPrintable(make::formatErrors("bench.md", result.errors)));
        if (made.empty()) made = filesUnder(library);

        const QDir copy(work.filePath(QStringLiteral("written%1").arg(run)));
        start = Clock::now();
        writeFiles(made, copy);
        writing.push_back(millisecondsSince(start));
    }
    return {median(making), median(writing)};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const auto [onDisk, writtenOnDisk] = measure(QDir::tempPath());
    printFigure("make_test_30", onDisk, "ms", "write the same files", writtenOnDisk,
                "< 3 x reference");
    // In memory the files cost almost nothing, which shows the tool's own work.
    if (QDir(QStringLiteral("/dev/shm")).exists()) {
        const auto [inMemory, writtenInMemory] = measure(QStringLiteral("/dev/shm"));
        printFigure("make_test_30_in_memory", inMemory, "ms", "write the same files",
                    writtenInMemory, "(information: files in /dev/shm)");
    }
    return 0;
}
