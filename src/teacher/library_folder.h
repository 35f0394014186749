// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvane::teacher {

// The test library the pupils see: library/folder of corvane-maths.ini, else the sample tests
// beside the program.
QString libraryFolder();

// Where sources of the library's tests are kept: the source folder beside the library.
QString sourceFolderOf(const QString& library);

} // namespace corvane::teacher
