// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/question_store.h"

#include <QByteArray>

#include <string>

namespace corvane::check {

// A text as a JSON string: quotes and backslashes escaped, every control byte and every byte
// above 127 written as \u00XX (the byte is its own Latin-1 code point).
QByteArray jsonString(const Text& text);

// The loaded fields of questions 1..min(questionCount, 30) as a JSON object, keys named as the
// store's fields.
QByteArray storeJson(const QuestionStore& store);

// Loads the test file at `path` into an empty store and gives its JSON, or {"error": message}
// when the load fails; `loaded` tells which.
QByteArray dumpTestFile(const std::string& path, bool& loaded);

} // namespace corvane::check
