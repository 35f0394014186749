// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make/output.h"

#include <QString>

namespace corvane::teacher {

// The test that Make last replaced in the library, kept outside it so that Undo Make can put
// it back. One level: keeping another drops the copy kept before.
class ReplacedTest {
  public:
    // `keepFolder` holds the copy; by default a folder in the user's data folder.
    explicit ReplacedTest(QString keepFolder = {});

    // Copies the test at `place` (its file and page folder) before Make replaces it. False,
    // and nothing kept, when it cannot be copied.
    bool keep(const make::TestPlace& place);
    // Puts the kept test back in place of the one Make wrote; the copy is used up. False when
    // there is none or it cannot be put back.
    bool restore();
    bool has() const;
    // The kept test's file in the library, empty without one.
    QString testFile() const;

  private:
    QString folder_;
};

} // namespace corvane::teacher
