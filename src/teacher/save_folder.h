// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvane::teacher {

// Where the file dialogs of the teacher's window start: the folder the teacher last chose,
// else the library's source folder where it can be written, else "Corvane Maths tests" in the
// user's documents folder (made when first needed). Never a temporary folder: the preview's
// scratch library is one, and what is saved there is lost when the program ends.
QString startFolder(const QString& library);
// Remembers the folder of `chosenFile` for the next dialog.
void rememberFolder(const QString& chosenFile);
// Whether `path` lies in the system's temporary folder.
bool isTemporary(const QString& path);

} // namespace corvane::teacher
