// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make/test_source.h"

#include <QString>

#include <vector>

namespace corvane::make {

// A picture the pages show: its path inside the page folder (as the source writes it) and
// the real path of the file it is copied from.
struct PictureCopy {
    QString relativePath;
    QString from;
};

// Every picture of the front and question pages, once each. A picture must be a file in the
// picture folder or a folder inside it, also after following links; web addresses, paths
// leading out and anything but a plain file (a folder, a device, a FIFO) are errors.
std::vector<PictureCopy> picturesOf(const TestSource& source, const QString& pictureFolder,
                                    SourceErrors& errors);

} // namespace corvane::make
