// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/question_store.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace corvane::testing {

// Writes `bytes` to `name` inside `dir` (creating sub-folders) and returns the full path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

// Joins lines with carriage return + line feed, ending the last line too.
QByteArray crlfLines(const QStringList& lines);

// What a command-line tool printed and its exit status.
struct ToolRun {
    int status = -1;
    QString out;
    QString err;
};

// Runs the tool `program` with `arguments` and waits for it to end (a minute at most).
ToolRun runTool(const QString& program, const QStringList& arguments);

// Five single-choice questions whose right option is A; the first `right` are answered A, the
// rest B (earlier answers are replaced).
void answerFive(QuestionStore& store, int right);

} // namespace corvane::testing
