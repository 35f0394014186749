// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/text.h"

#include <QString>

#include <string>
#include <vector>

namespace corvane {

// Deletes every ".txt" (lower case only), scanning once from the left as a replace-all does.
Text removeTxt(const Text& text);

// Makes `folder` the process's working folder; throws AppError with the message the test file
// reader gives for the same system error ("File not found", "Invalid filename", ...).
void enterFolder(const std::string& folder);

// One entry of the test folder: its name as the list shows it, and as the file system holds it.
struct TestEntry {
    QString shown;
    std::string fileName;
};

// Every entry of `folder` whose name ends in ".txt" in any letter case, whatever its kind
// (files of any attribute and folders) and whatever the bytes of its name, in no particular
// order. Throws AppError when the folder cannot be read.
std::vector<TestEntry> listTestEntries(const std::string& folder);

// The list's order: without regard to the letter case of the Latin-1 letters (Ä with ä,
// É with é).
bool listsBefore(const QString& left, const QString& right);

// A file name as the list shows it: decoded as UTF-8 where it is valid UTF-8, as the desktop
// shows it, and otherwise byte for byte as Latin-1, the program's own texts (a name saved as
// "caf\xE9.txt" by a Windows tool shows as café.txt).
QString shownName(const std::string& fileName);

} // namespace corvane
