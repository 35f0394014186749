// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace corvane::make {

class MathsTypesetter;

// One thing wrong with a test source: the line it is on (0 when it concerns the whole file),
// what is wrong, and how to put it right.
struct SourceError {
    int line = 0;
    QString message;
    QString fix;
};
using SourceErrors = std::vector<SourceError>;

struct MakeRequest {
    QByteArray sourceText; // the test source, UTF-8 (Latin-1 is accepted too)
    QString sourceName;    // how errors name the source, e.g. its file name
    QString pictureFolder; // where the pictures the source refers to lie
    QString outFolder;     // the test library folder the test file and page folder go to
    bool force = false;    // replace an existing test of the same name
    // Typesets the maths, shared by the makes of one run; one of its own when none is given.
    MathsTypesetter* maths = nullptr;
};

struct MakeResult {
    SourceErrors errors; // empty when the test was written
    QString testFile;    // the test file written
    QString pageFolder;  // its page folder
    int questionCount = 0;
    int nameLine = 0;               // the source line of the test's name
    std::vector<int> questionLines; // each question's heading line
};

// Reads a test source, checks it, and writes the test file (CR LF) and its page folder into
// the out folder, through temporary names and renames. On any error nothing is written.
MakeResult makeTest(const MakeRequest& request);

// "name:line: message" lines, each followed by its fix, for a terminal.
QString formatErrors(const QString& sourceName, const SourceErrors& errors);

} // namespace corvane::make
