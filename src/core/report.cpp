// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report.h"

#include "core/panel_texts.h"

namespace corvane {
namespace {

const Text kNoAnswer = "no answer";

Text tickedLetters(const QuestionStore& store, int q) {
    Text letters;
    const OptionRow& marks = store.userMarks[q];
    for (int option = 1; option <= store.optionCount[q] && option <= kMaxOptions; ++option) {
        if (marks[option] == 0) continue;
        if (!letters.empty()) letters += ' ';
        letters += static_cast<char>('A' + option - 1);
    }
    return letters;
}

bool anyPlaceFilled(const QuestionStore& store, int q) {
    for (int place = 1; place <= kMaxOptions; ++place)
        if (store.userMarks[q][place] != 0) return true;
    return false;
}

} // namespace

Text givenAnswerText(const QuestionStore& store, int q) {
    const std::int32_t type = store.questionType[q];
    Text answer;
    if (type == KSINGLECHOICE || type == KMULTICHOICE)
        answer = tickedLetters(store, q);
    else if (type == KYESNO)
        answer = store.userMarks[q][1] != 0 ? "Yes" : store.userMarks[q][2] != 0 ? "No" : "";
    else if (type == KORDER || type == KORDERUSER)
        answer = anyPlaceFilled(store, q) ? trim(pupilOrderText(store, q)) : "";
    else if (isTypedAnswer(type))
        answer = store.userText[q];
    return answer.empty() ? kNoAnswer : answer;
}

Text verdictText(bool right) {
    return right ? "right" : "wrong";
}

std::vector<ReportRow> reportRows(const QuestionStore& store, const RightFlags& right,
                                  bool withRightAnswers) {
    std::vector<ReportRow> rows;
    for (int q = 1; q <= store.questionCount; ++q) {
        ReportRow row{q, givenAnswerText(store, q), right[q], {}};
        if (withRightAnswers) row.rightAnswer = trim(rightAnswerText(store, q));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace corvane
