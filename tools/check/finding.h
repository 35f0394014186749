// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

namespace corvane::check {

enum class Severity { Warning, Error };

enum class FindingKind {
    LoadFailure,
    ByteOrderMark,
    LineEnds,
    NoQuestions,
    CountAbove30,
    TrailingLines,
    EndsEarly,
    OutOfStep,
    TypeBlanks,
    TypeTypo,
    TypeUnknown,
    OptionCount,
    KeyNotZeroOrOne,
    NoRightOption,
    SeveralRightOptions,
    OrderKey,
    FixedItemPos,
    EmptyLabel,
    AnswerUnreachable,
    CommaMatchesAnything,
    EmptyAnswer,
    AltCountAbove10,
    NoAlternatives,
    MissingPage,
    DuplicateName,
};

// One thing wrong with a test file. Line and question are 0 where they do not apply.
struct Finding {
    FindingKind kind;
    Severity severity;
    int line = 0;
    int question = 0;
    QString explanation;
    QString fix; // empty when there is no single fix
};

using Findings = std::vector<Finding>;

bool hasErrors(const Findings& findings);

} // namespace corvane::check
