// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make/pages.h"
#include "tools/make/pictures.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace corvane::make {

// Everything one test is made of: its name, the test file's bytes, the pages and pictures.
struct TestFiles {
    QString name;
    QByteArray testFile;
    std::vector<PageFile> pages;
    std::vector<PictureCopy> pictures;
};

// Where a made test lands: name.txt and the page folder name/ in the library folder.
struct TestPlace {
    QString testFile;
    QString pageFolder;
};

TestPlace placeIn(const QString& libraryFolder, const QString& name);

// Where to write: the library folder, the source's bytes and folder (a file that holds the
// bytes is never written over, nor the folder replaced: they may be the source itself) and
// whether an existing test may be replaced.
struct WriteTarget {
    QString libraryFolder;
    QByteArray sourceText;
    QString sourceFolder;
    bool force = false;
};

// Writes the files into a staging folder beside their place, has the checker look at them
// there, then renames them into place (replacing an existing test only when `force`). On any
// error the library folder is left as it was and a message says why.
void writeTestFiles(const TestFiles& files, const WriteTarget& target,
                    const std::vector<int>& questionLines, SourceErrors& errors);

} // namespace corvane::make
