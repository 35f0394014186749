// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/question_store.h"
#include "tools/make/answers.h"

#include <QString>

namespace corvane::make {

// The line that tells the pupil how to write a typed money, number, time or pair answer, with
// an example in the answer's own form that the marking never takes for the answer ("Write the
// time like 4:50."); empty for the other kinds. `written` is the answer line as the teacher
// wrote it, question q of `store` the answer as stored.
QString formHint(AnswerKind kind, const QString& written, const QuestionStore& store, int q);

} // namespace corvane::make
