// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/question_store.h"

#include <QByteArray>

#include <vector>

namespace corvane::make {

// The test file of questions 1..questionCount of the store, every line ended by CR LF, as the
// reader reads it back. comments[q - 1] is question q's comment line.
QByteArray testFileBytes(const QuestionStore& store, const std::vector<Text>& comments);

} // namespace corvane::make
