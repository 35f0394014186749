// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/question_store.h"

#include <QString>
#include <QStringList>

namespace corvane::check {

// Enters one answer line per question into the store's answers, as a pupil would give them:
// typed text, ticked letters ("AC"), an order of letters ("CAB", A = item 1), or Yes / No.
// Returns an error message naming the line when an answer cannot be given to its question.
QString enterAnswers(QuestionStore& store, const QStringList& answerLines);

// The right answer of question q written as an answer line would give it.
QString expectedAnswer(const QuestionStore& store, int q);

struct MarkReport {
    QStringList verdicts; // "Question 3: right", "Question 4: wrong (expected ...)"
    QString scoreLine;    // as the results screen shows it; empty when marking failed
    QString failure;      // why marking stopped, empty when it did not
};

MarkReport markStore(const QuestionStore& store);

// The lines of an answers file, read as UTF-8 when it is valid UTF-8 and as Latin-1 otherwise.
QStringList answerLinesOf(const QByteArray& bytes);

} // namespace corvane::check
