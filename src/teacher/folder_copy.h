// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvane::teacher {

// Copies a folder with everything in it; false at the first failure.
bool copyFolder(const QString& from, const QString& to);

} // namespace corvane::teacher
