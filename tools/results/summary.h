#pragma once

#include "tools/results/record.h"

#include <QString>

#include <vector>

namespace corvane::results {

struct PupilResult {
    Record latest;
    int attempts = 0;
};

struct QuestionShare {
    int number = 0; // from 1
    int right = 0;  // pupils whose latest attempt got it right
};

// One test: records of the same name and the same checksum (and so the same questions).
struct TestSummary {
    QString test;
    QString checksum;
    int questions = 0;
    std::vector<PupilResult> pupils;   // by name
    std::vector<QuestionShare> shares; // hardest first, then by number

    // The test's name with the start of its checksum, which tells apart files of one name.
    QString title() const;
    int pupilCount() const { return static_cast<int>(pupils.size()); }
};

// Groups the records by test and pupil; a pupil's latest attempt is the one finished last.
std::vector<TestSummary> summarise(const std::vector<Record>& records);

// "1 pupil", "3 pupils"
QString counted(int count, const QString& noun);

// "2 of 3 (67%)"
QString shareText(int right, int of);

} // namespace corvane::results
