// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make/make_test.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace corvane::teacher {

// What the editor learns from one check of its source: the mistakes as corvane-make names
// them, the line of each question's heading, and where the test was made when there was none.
struct SourceCheck {
    int generation = 0;
    make::SourceErrors problems;
    std::vector<int> questionLines; // question q's heading is on line questionLines[q - 1]
    QString name;                   // the test's name, empty when the first line has none
    QString testFile;               // the test made, empty when the source has mistakes
    QString pageFolder;             // its page folder
    QByteArray pictures;            // a digest of the pictures in it
    int nameLine = 0;               // the line of the test's name
};

// Checks the source as corvane-make does by making it into `scratchLibrary` (replacing the
// test made there before). Safe to run off the window's thread, one at a time per library.
// Whether the pages fit is PageFitCheck's part.
SourceCheck checkSource(const QByteArray& source, const QString& pictureFolder,
                        const QString& scratchLibrary);

// makeTest's result for the test a check made, to lay its pages out.
make::MakeResult madeBy(const SourceCheck& check);

// The question whose part of the source holds `line` (1-based): 0 for the front page.
int questionAtLine(const std::vector<int>& questionLines, int line);

} // namespace corvane::teacher
