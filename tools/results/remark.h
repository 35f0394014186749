// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/class_record.h"
#include "core/question_store.h"
#include "tools/results/record.h"

#include <QString>

#include <vector>

namespace corvane::results {

// One record marked again against a corrected test file.
struct Remarked {
    Record before;
    Record after;        // the corrected file's checksum, verdicts and score; the same answers
    bool marked = false; // false when it could not be marked again (see `problem`)
    QString problem;     // what went wrong; empty when nothing did
};

struct Remark {
    QString error;    // why the corrected file cannot be used; empty when it can
    QString checksum; // of the corrected file
    std::vector<Remarked> records;
};

// Puts a record's stored answer to question q back into the store as the pupil gave it, in
// the form the question's panel keeps it. False when the answer cannot have been given to
// this question (a letter it has no option for, an order of labels it does not have); the
// question is then left unanswered.
bool restoreAnswer(QuestionStore& store, int q, const QString& answer);

// Marks every record again from its stored answers with the test file `testFile`, by the
// program's own marking. Records whose question count differs are not marked.
Remark remarkRecords(const std::vector<Record>& records, const QString& testFile);

// The record as the program's writer takes it. False when a text holds a character the class
// record cannot keep.
bool toClassRecord(const Record& record, ClassRecord& out);

} // namespace corvane::results
