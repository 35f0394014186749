// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/monkey_library.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>

namespace corvane::testing {
namespace {

int pick(std::mt19937_64& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}

bool chance(std::mt19937_64& rng, int percent) {
    return pick(rng, 1, 100) <= percent;
}

template <typename T, std::size_t N>
const T& oneOf(std::mt19937_64& rng, const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(pick(rng, 0, int(N) - 1))];
}

const std::array<const char*, 11> kKeywords = {
    "KSINGLECHOICE", "KMULTICHOICE", "KWORD",      "KORDER",      "KCURRENCY",       "KCOMMA",
    "KTIME",         "KYESNO",       "KORDERUSER", "KMULTIENTRY", "KMULTIENTRYMULTI"};
const std::array<const char*, 6> kOddTypes = {"KMultiChoice", " KWORD", "KWORD ",
                                              "KNOTHING",     "",       "KORDER USER"};
const std::array<const char*, 16> kAnswers = {"CAT",
                                              "cat",
                                              "1.50",
                                              "\xA3"
                                              "1.50",
                                              "150P",
                                              ".50",
                                              "1,000",
                                              "10:30",
                                              "3,4",
                                              "3, 4",
                                              "2/4",
                                              "",
                                              "  12 ",
                                              "yes",
                                              "1/2",
                                              "TEN"};
const std::array<const char*, 6> kLabels = {"12", "5", "30", "", "Big", "x"};

bool isOrder(const QByteArray& type) {
    return type == "KORDER" || type == "KORDERUSER";
}

// One question block as lines: type, comment, option count, five keys, answer, extras, closing.
QList<QByteArray> questionLines(std::mt19937_64& rng) {
    const QByteArray type = chance(rng, 85) ? oneOf(rng, kKeywords) : oneOf(rng, kOddTypes);
    QList<QByteArray> lines;
    lines << (chance(rng, 15) ? type.toLower() : type) << "a comment";
    const int options = chance(rng, 85)   ? pick(rng, 1, 5)
                        : chance(rng, 60) ? pick(rng, 6, 7)
                                          : pick(rng, -1, 0);
    lines << QByteArray::number(options);
    std::array<int, 5> order = {1, 2, 3, 4, 5};
    std::shuffle(order.begin(), order.end(), rng);
    for (int j = 0; j < 5; ++j) {
        int key = isOrder(type) ? (j < options ? order[j] : 0) : pick(rng, 0, 1);
        if (chance(rng, 5)) key = pick(rng, -1, 7);
        lines << QByteArray::number(key);
    }
    lines << oneOf(rng, kAnswers);
    if (type == "KORDERUSER") {
        for (int j = 0; j < 5; ++j)
            lines << oneOf(rng, kLabels);
        lines << QByteArray::number(pick(rng, -1, 7)) << "Smallest:";
    }
    if (type == "KMULTIENTRYMULTI") {
        const int alternatives = chance(rng, 80) ? pick(rng, 0, 4) : pick(rng, -1, 11);
        lines << QByteArray::number(alternatives);
        for (int a = 0; a < alternatives; ++a)
            lines << oneOf(rng, kAnswers);
    }
    if (chance(rng, 95)) lines << "----------";
    return lines;
}

QByteArray testFile(std::mt19937_64& rng) {
    const int kind = pick(rng, 0, 19);
    if (kind == 0) return {}; // empty file
    int count = pick(rng, 1, 8);
    if (kind == 1) count = pick(rng, 31, 33); // too many questions
    QByteArray countLine = QByteArray::number(count);
    if (kind == 2) countLine = chance(rng, 50) ? "0" : "-3"; // no questions
    if (kind == 3) countLine = "4x";                         // not a number
    if (kind == 4) countLine.prepend("\xEF\xBB\xBF");        // byte-order mark
    QList<QByteArray> lines{countLine};
    const int blocks = kind == 5 ? pick(rng, 0, count) : count; // kind 5: ends early
    for (int q = 0; q < blocks; ++q)
        lines << questionLines(rng);
    if (kind == 6) lines[pick(rng, 1, int(lines.size()) - 1)] = "7y"; // a bad number inside
    const QByteArray lineEnd = kind == 7 ? "\n" : kind == 8 ? "\r" : "\r\n";
    QByteArray bytes = lines.join(lineEnd) + lineEnd;
    if (kind == 9) bytes.truncate(pick(rng, 0, int(bytes.size()))); // cut short
    if (kind == 10) bytes.insert(pick(rng, 0, int(bytes.size())), '\x1A');
    return bytes;
}

QString testName(std::mt19937_64& rng, int index) {
    const QString number = QString::number(index);
    switch (pick(rng, 0, 9)) {
    case 0:
        return "QUIZ" + number + ".TXT";
    case 1:
        return "a" + number + ".txt.txt";
    case 2:
        return "lower case " + number + ".txt";
    default:
        return "Test" + number + ".txt";
    }
}

} // namespace

std::vector<MonkeyTestFile> makeMonkeyLibrary(std::mt19937_64& rng) {
    std::vector<MonkeyTestFile> files;
    const int count = pick(rng, 1, 6);
    for (int i = 0; i < count; ++i)
        files.push_back({testName(rng, i), testFile(rng)});
    return files;
}

void writeMonkeyLibrary(const QString& programFolder, const std::vector<MonkeyTestFile>& files,
                        std::mt19937_64& rng) {
    const QDir test(programFolder + "/test");
    test.mkpath(".");
    for (const MonkeyTestFile& file : files) {
        QFile out(test.filePath(file.name));
        if (!out.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(file.name));
        out.write(file.bytes);
        if (!chance(rng, 50)) continue;
        QString pages = file.name;
        pages.remove(".txt");
        test.mkpath(pages);
        for (int q = 0; q <= 8; ++q) {
            QFile page(
                test.filePath(pages + (q ? QString("/question%1.htm").arg(q) : "/front.htm")));
            if (page.open(QIODevice::WriteOnly)) page.write("<html><body>page</body></html>");
        }
    }
    if (chance(rng, 10)) test.mkpath("Folder.txt"); // listed, and refused by the loader
}

} // namespace corvane::testing
