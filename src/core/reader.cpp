// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/reader.h"

#include "core/line_source.h"

#include <array>
#include <string_view>

namespace corvane {

namespace {

struct Keyword {
    std::string_view text;
    std::int32_t code;
};

constexpr std::array<Keyword, 11> kKeywords{{
    {"KSINGLECHOICE", KSINGLECHOICE},
    {"KMULTICHOICE", KMULTICHOICE},
    {"KWORD", KWORD},
    {"KORDER", KORDER},
    {"KCURRENCY", KCURRENCY},
    {"KCOMMA", KCOMMA},
    {"KTIME", KTIME},
    {"KYESNO", KYESNO},
    {"KORDERUSER", KORDERUSER},
    {"KMULTIENTRY", KMULTIENTRY},
    {"KMULTIENTRYMULTI", KMULTIENTRYMULTI},
}};

// The code of the keyword that the whole line spells in any letter case. A line that spells
// none gives no type, so a question never inherits the type of an earlier test.
std::int32_t typeCode(const Text& line) {
    const Text upper = upperCase(line);
    for (const Keyword& keyword : kKeywords)
        if (upper == keyword.text) return keyword.code;
    return KNOTYPE;
}

void readOrderUserLines(TestFileLines& lines, QuestionStore& store, int q) {
    for (int j = 1; j <= kMaxOptions; ++j)
        store.optionLabel[q][j] = lines.readText();
    store.fixedItemPos[q] = lines.readInteger();
    store.fixedItemText[q] = lines.readText();
}

void readAlternatives(TestFileLines& lines, QuestionStore& store, int q) {
    store.altCount[q] = lines.readInteger();
    // An eleventh alternative is outside the store and raises "Range check error".
    for (int i = 1; i <= store.altCount[q]; ++i)
        store.altText[q][i] = lines.readText();
}

void readQuestion(TestFileLines& lines, QuestionStore& store, int q) {
    const std::int32_t type = typeCode(lines.readText());
    store.questionType[q] = type; // question 31 raises "Range check error" here
    lines.readText();             // comment line
    store.optionCount[q] = lines.readInteger();
    for (int j = 1; j <= kMaxOptions; ++j) {
        store.answerKey[q][j] = lines.readInteger();
        store.userMarks[q][j] = 0;
    }
    store.answerText[q] = lines.readText();

    if (type == KORDERUSER) {
        readOrderUserLines(lines, store, q);
    } else {
        store.fixedItemPos[q] = 0;
        store.fixedItemText[q].clear();
    }
    if (type == KORDER) {
        static constexpr std::array<const char*, kMaxOptions> kLetters{"A", "B", "C", "D", "E"};
        for (int j = 1; j <= kMaxOptions; ++j)
            store.optionLabel[q][j] = kLetters[j - 1];
    }
    if (type == KMULTIENTRYMULTI) readAlternatives(lines, store, q);
    lines.readText(); // closing line
}

} // namespace

void readTestFile(const std::string& path, QuestionStore& store) {
    TestFileLines lines(path);
    store.questionCount = lines.readInteger();
    for (int q = 1; q <= store.questionCount; ++q)
        readQuestion(lines, store, q);
}

} // namespace corvane
