// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <random>
#include <vector>

namespace corvane::testing {

// One generated test file: its name in the test folder and its bytes.
struct MonkeyTestFile {
    QString name;
    QByteArray bytes;
};

// A random test library: good tests of every type and broken ones (more than five options,
// more than 30 questions, empty files, unknown or lower-case types, bad numbers, eleven
// alternatives, line feeds alone, cut short), some with their page folders.
std::vector<MonkeyTestFile> makeMonkeyLibrary(std::mt19937_64& rng);

// Writes the library into `programFolder`/test/, with a front page and question pages for some
// tests and a folder named like a test file.
void writeMonkeyLibrary(const QString& programFolder, const std::vector<MonkeyTestFile>& files,
                        std::mt19937_64& rng);

} // namespace corvane::testing
