// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/marking_rules.h"

#include "core/normalise.h"

#include <string>

namespace corvane {

namespace {

constexpr char kPound = static_cast<char>(0xA3);

// Right when some option j in 1..optionCount is both in the key and chosen.
bool anyKeyChosen(const QuestionStore& store, int q) {
    for (int j = 1; j <= store.optionCount[q]; ++j)
        if (store.answerKey[q][j] == 1 && store.userMarks[q][j] == 1) return true;
    return false;
}

// Right when options 1..optionCount all match the key exactly.
bool allMatchKey(const QuestionStore& store, int q) {
    for (int j = 1; j <= store.optionCount[q]; ++j)
        if (store.userMarks[q][j] != store.answerKey[q][j]) return false;
    return true;
}

// Choices count as unanswered with nothing ticked in any of the five entries, whatever the
// question's optionCount; typed answers when empty (spaces count as an answer).
bool isUnanswered(const QuestionStore& store, int q) {
    const std::int32_t type = store.questionType[q];
    if (isTypedAnswer(type)) return store.userText[q].empty();
    if (type != KSINGLECHOICE && type != KMULTICHOICE) return false;
    const OptionRow& marks = store.userMarks[q];
    for (int j = 1; j <= kMaxOptions; ++j)
        if (marks[j] != 0) return false;
    return true;
}

bool anyAlternativeIs(const QuestionStore& store, int q, const Text& answer) {
    for (int a = 1; a <= store.altCount[q]; ++a)
        if (store.altText[q][a] == answer) return true;
    return false;
}

} // namespace

Text wordForm(const Text& text) {
    return upperCase(removespace(text));
}
Text commaForm(const Text& text) {
    return tocomma(trim(upperCase(text)));
}
Text timeForm(const Text& text) {
    return totime(upperCase(removespace(text)));
}
Text pairForm(const Text& text) {
    return topair(trim(upperCase(text)));
}

Text currencyForm(const Text& typed) {
    Text s = upperCase(removespace(typed));
    if (s.size() <= 1) return s;
    if (s.front() == '.') s += '0';
    std::erase_if(s, [](char c) { return c == 'P' || c == kPound; });
    return s;
}

bool isQuestionRight(const QuestionStore& store, int q) {
    const Text& typed = store.userText[q];
    const Text& stored = store.answerText[q];
    switch (store.questionType[q]) {
    case KSINGLECHOICE:
    case KYESNO:
        return anyKeyChosen(store, q);
    case KMULTICHOICE:
    case KORDER:
    case KORDERUSER:
        return allMatchKey(store, q);
    case KWORD:
        return wordForm(typed) == wordForm(stored);
    case KCURRENCY:
        return currencyForm(typed) == stored;
    case KCOMMA:
        return commaForm(typed) == commaForm(stored);
    case KTIME:
        return timeForm(typed) == timeForm(stored);
    case KMULTIENTRY:
        return pairForm(typed) == stored;
    case KMULTIENTRYMULTI:
        return anyAlternativeIs(store, q, pairForm(typed));
    default:
        return false;
    }
}

void markAll(const QuestionStore& store, RightFlags& right, std::int32_t& score) {
    score = 0;
    for (int q = 1; q <= store.questionCount; ++q) {
        right[q] = false;
        if (isQuestionRight(store, q)) {
            ++score;
            right[q] = true;
        }
    }
}

Completeness checkCompleteness(const QuestionStore& store) {
    Completeness result;
    for (int q = 1; q <= store.questionCount; ++q) {
        if (!isUnanswered(store, q)) continue;
        result.allAnswered = false;
        if (result.firstUnanswered == -1) result.firstUnanswered = q;
    }
    return result;
}

Text scoreLine(std::int32_t score, std::int32_t questionCount) {
    const Text scoreText = std::to_string(score);
    const Text countText = std::to_string(questionCount);
    // 64-bit so that score * 100 cannot overflow; no questions means no percentage at all.
    const bool praise =
        questionCount > 0 && static_cast<std::int64_t>(score) * 100 / questionCount >= 80;
    if (praise) return "Score: " + scoreText + " out of  " + countText + "     Well Done! ";
    return "Score: " + scoreText + " out of " + countText;
}

} // namespace corvane
