// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvane::teacher {

// Copies the picture `file` into `folder` (the source's folder, where the test's pictures are
// looked for) and gives the name it has there: its own name, or with a number added when
// another picture already has that name. Characters that Markdown reads as the end of the
// address are replaced. A picture already there, or an identical copy, is not copied again.
// Empty when it cannot be copied.
QString copyPictureInto(const QString& file, const QString& folder);

// The source line that shows the picture `name` of the source's folder.
QString pictureLine(const QString& name);

} // namespace corvane::teacher
