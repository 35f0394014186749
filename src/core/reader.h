// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/question_store.h"

#include <string>

namespace corvane {

// Reads the test file at `path` into `store`: the count line, then one block per question.
// Fields are written as they are read; on a failure an AppError with the user-facing message
// is thrown and whatever was read so far stays in the store. Does not reset the answers.
void readTestFile(const std::string& path, QuestionStore& store);

} // namespace corvane
