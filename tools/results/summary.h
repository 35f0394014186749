// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/results/record.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace corvane::results {

// Which of a pupil's attempts at a test counts.
enum class AttemptChoice { Latest, Best, First };

// "latest", "best", "first": the name on the command line and in exports.
QString choiceWord(AttemptChoice choice);
// "The latest attempt of each pupil counts."
QString choiceSentence(AttemptChoice choice);

struct PupilResult {
    QString name;                 // as the pupil's most recent record writes it
    Record chosen;                // the attempt that counts
    std::vector<Record> attempts; // every attempt, oldest first
    int attemptCount() const { return static_cast<int>(attempts.size()); }
};

struct WrongAnswer {
    QString answer; // as most recently given
    int count = 0;
};

struct QuestionShare {
    int number = 0;                 // from 1
    int right = 0;                  // pupils whose chosen attempt got it right
    QString heading;                // from the test in the library; empty when not found
    std::vector<WrongAnswer> wrong; // most common first, then in the order of the answers
    // "Q3" or "Q3 How much money is there altogether?"
    QString label() const;
};

// One test: records of the same name and the same checksum (and so the same questions). Two
// versions of a test of one name are two summaries.
struct TestSummary {
    QString test;
    QString checksum;
    int questions = 0;
    std::vector<PupilResult> pupils;   // by name
    std::vector<QuestionShare> shares; // hardest first, then by number
    std::vector<int> spread;           // pupils per score 0..questions
    AttemptChoice choice = AttemptChoice::Latest;
    QDateTime firstUsed; // the earliest attempt's finishing time
    // Which version this is, when that needs telling: "in the library now", "earlier version,
    // first used 12 Nov"; set from the library (addHeadings).
    QString version;

    // The test's name with the start of its checksum, which tells apart files of one name.
    QString title() const;
    // The title with the version, as a teacher chooses the test.
    QString displayName() const;
    // Tells every summary of a folder from every other one.
    QString key() const;
    int pupilCount() const { return static_cast<int>(pupils.size()); }
    double average() const; // of the chosen attempts' scores; 0 without pupils
    // "3.4 of 5 (68%)"
    QString averageText() const;
    // The pupil of this name (grouped as names are), or null.
    const PupilResult* pupil(const QString& name) const;
};

// What tells one test summary from every other: its name, checksum and question count.
QString testKey(const QString& test, const QString& checksum, int questions);
QString testKey(const Record& record);

// True when `a` comes before `b` in a list of names: letter case and accents folded (Émile
// beside emma), then as written.
bool nameBefore(const QString& a, const QString& b);

// "Fractions [3f2a9c1e]": a test's name with the start of its checksum.
QString testTitle(const QString& test, const QString& checksum);

// What makes two spellings one name: blanks trimmed and runs of them folded to one space,
// Unicode NFC, letter case folded. Wrong answers are grouped the same way.
QString sameNameKey(const QString& name);

// Groups the records by test and pupil. Attempts are ordered by when they finished (on UTC,
// then by file); the best attempt is the highest score, the earliest of equal ones.
std::vector<TestSummary> summarise(const std::vector<Record>& records,
                                   AttemptChoice choice = AttemptChoice::Latest);

// The names of a class list that have no record in `test`, in the list's order, each once.
QStringList missingPupils(const TestSummary& test, const QStringList& classList);

// The pupils of `test` whose names are not in a class list, as the test writes them; none when
// the list is empty.
QStringList pupilsNotListed(const TestSummary& test, const QStringList& classList);

// The names of a class list file: one per line, UTF-8 (a byte-order mark is allowed), blank
// lines and lines starting with "#" left out.
QStringList classListNames(const QByteArray& bytes);

// "1 pupil", "3 pupils"
QString counted(int count, const QString& noun);

// "2 of 3 (67%)"
QString shareText(int right, int of);

} // namespace corvane::results
