// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/question_store.h"
#include "tools/make/make_test.h"

#include <QString>

#include <optional>
#include <vector>

namespace corvane::make {

// One line of the source (its text without the list marker or answer keyword) and its number.
struct SourceLine {
    int line = 0;
    QString text;
};

struct ChoiceOption {
    SourceLine text;
    bool right = false;
};

// The kinds of answer line, by the keyword in front of the colon.
enum class AnswerKind { YesNo, Word, Number, Money, Time, Pair, Pairs, Order, LabelledOrder };

// The kind an answer keyword ("Word", "labelled order", ...) names, in any letter case.
std::optional<AnswerKind> answerKindOf(const QString& keyword);

// True for the kinds whose answer line needs the list of items above it.
bool takesItems(AnswerKind kind);

// Fills question q of the store from its options: one right option makes a single choice,
// several a multiple choice.
SourceErrors fillChoices(const std::vector<ChoiceOption>& options, int headingLine,
                         QuestionStore& store, int q);

// Fills question q of the store from its answer line and, for an order, the items listed
// above it. Typed answers are stored in the form the marking compares.
SourceErrors fillAnswer(AnswerKind kind, const SourceLine& answer,
                        const std::vector<SourceLine>& items, QuestionStore& store, int q);

// Why a typed word answer cannot be matched by what a pupil types (a letter whose case or
// accent the marking does not fold, a sign not on the keyboard), or empty when it can.
QString typedWordProblem(const QString& word);

// Why `name` cannot name a test file and its page folder, or empty when it can.
QString testNameProblem(const QString& name);

// A text of the test file: Latin-1 without control characters, or none.
std::optional<Text> storeText(const QString& text);

// The text with Markdown's backslash escapes of punctuation taken out.
QString unescaped(const QString& text);

} // namespace corvane::make
