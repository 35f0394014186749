// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/question_store.h"

namespace corvane {

void resetAnswers(QuestionStore& store) {
    for (int q = 1; q <= store.questionCount; ++q) {
        store.userText[q].clear();
        store.orderNext[q] = 1;
        for (int j = 1; j <= kMaxOptions; ++j)
            store.userMarks[q][j] = 0;
    }
}

} // namespace corvane
