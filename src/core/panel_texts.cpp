// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/panel_texts.h"

namespace corvane {
namespace {

// Builds an order text; placeText gives what place k shows.
template <typename PlaceText>
Text orderText(const QuestionStore& store, int question, PlaceText placeText) {
    Text text;
    for (int place = 1; place <= store.optionCount[question]; ++place) {
        if (place == store.fixedItemPos[question]) text += store.fixedItemText[question] + ' ';
        text += placeText(place);
    }
    return text + ' ';
}

} // namespace

Text acceptedAnswersText(const QuestionStore& store, int question) {
    Text text;
    for (int i = 1; i <= store.altCount[question]; ++i)
        text += ' ' + store.altText[question][i];
    return text;
}

Text rightChoicesText(const QuestionStore& store, int question) {
    Text text = "Right Answer :";
    for (int option = 1; option <= kMaxOptions; ++option)
        if (store.answerKey[question][option] == 1 && option <= store.optionCount[question])
            text += Text{static_cast<char>('A' + option - 1), ' '};
    return text;
}

Text rightYesNoText(const QuestionStore& store, int question) {
    return store.answerKey[question][1] == 1 ? "Yes" : "No";
}

Text pupilOrderText(const QuestionStore& store, int question) {
    const LabelRow& labels = store.optionLabel[question];
    const OptionRow& marks = store.userMarks[question];
    return orderText(store, question, [&](int place) -> Text {
        return marks[place] == 0 ? "?" : labels[marks[place]] + ' ';
    });
}

Text rightOrderText(const QuestionStore& store, int question) {
    const LabelRow& labels = store.optionLabel[question];
    const OptionRow& key = store.answerKey[question];
    return orderText(store, question, [&](int place) { return labels[key[place]] + ' '; });
}

Text rightAnswerText(const QuestionStore& store, int question) {
    switch (store.questionType[question]) {
    case KSINGLECHOICE:
    case KMULTICHOICE:
        return rightChoicesText(store, question);
    case KYESNO:
        return rightYesNoText(store, question);
    case KORDER:
    case KORDERUSER:
        return rightOrderText(store, question);
    case KMULTIENTRYMULTI:
        return acceptedAnswersText(store, question);
    default:
        return store.answerText[question];
    }
}

} // namespace corvane
