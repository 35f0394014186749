// SPDX-License-Identifier: GPL-3.0-or-later
// Records the pupil's answer given with the mouse or typed into the edit box, for the question
// on screen, and redraws the panel from the store.
#include "pupil/form.h"

#include <QLineEdit>

#include <algorithm>
#include <array>
#include <string_view>

namespace corvane {
namespace {

Text upperName(const QObject* sender) {
    return upperCase(fromQt(sender->objectName()));
}

// The option (1..5) that a choice image stands for; the words Yes and No act like their boxes.
// 0 for any other name.
int choiceOption(const Text& name) {
    struct Row {
        std::string_view name;
        int option;
    };
    static constexpr std::array<Row, 14> rows = {{
        {"YESSELECT", 1},
        {"YESL", 1},
        {"NOSELECT", 2},
        {"NOL", 2},
        {"MANA", 1},
        {"ANSWER1", 1},
        {"MANB", 2},
        {"ANSWER2", 2},
        {"MANC", 3},
        {"ANSWER3", 3},
        {"MAND", 4},
        {"ANSWER4", 4},
        {"MANE", 5},
        {"ANSWER5", 5},
    }};
    for (const Row& row : rows)
        if (row.name == name) return row.option;
    return 0;
}

// The option (1..5) of an order place "ORDERA".."ORDERE"; 0 for any other name.
int orderOption(const Text& name) {
    if (name.size() == 6 && name.starts_with("ORDER") && name[5] >= 'A' && name[5] <= 'E')
        return name[5] - 'A' + 1;
    return 0;
}

} // namespace

void TForm1::recordOption(std::int32_t option) {
    const int q = currentQuestion;
    OptionRow& marks = store.userMarks[q];
    // A single choice or yes/no answer holds one tick: clear the others first. Only the places
    // of the mark row are cleared, however many options the question claims.
    const int type = store.questionType[q];
    const OptionRow before = marks;
    if (type == KSINGLECHOICE || type == KYESNO)
        for (int j = 1; j <= std::min(store.optionCount[q], kMaxOptions); ++j)
            marks[j] = 0;
    if (option >= 1 && option <= kMaxOptions) marks[option] = 1 - marks[option];
    tellUnticked(before, option);
    drawmultiple();
}

void TForm1::MultiClick(QObject* Sender) {
    if (reviewMode) return;
    recordOption(choiceOption(upperName(Sender)));
}

void TForm1::LabelOrderClick(QObject* Sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    if (reviewMode) return;
    const int q = currentQuestion;
    if (const int option = orderOption(upperName(Sender))) orderPick = option;
    OptionRow& marks = store.userMarks[q];
    std::int32_t& next = store.orderNext[q];
    bool placed = false;
    for (int k = 1; k <= kMaxOptions; ++k)
        placed = placed || marks[k] == orderPick;
    // A full order or an option already placed stays as it is.
    if (next <= store.optionCount[q] && !placed) {
        marks[next] = orderPick;
        ++next;
    }
    draworder();
}

// The review is read-only: the pupil's order is kept as it was marked.
void TForm1::OrderClearClick(QObject*) {
    if (reviewMode) return;
    const int q = currentQuestion;
    for (int k = 1; k <= kMaxOptions; ++k)
        store.userMarks[q][k] = 0;
    store.orderNext[q] = 1;
    draworder();
}

// The loader empties the box while no question is on screen; that change is not an answer.
void TForm1::SingleEnterChange(QObject*) {
    if (reviewMode) return;
    if (currentQuestion < 1 || currentQuestion > store.questionCount) return;
    store.userText[currentQuestion] = fromQt(singleenter->text());
}

} // namespace corvane
