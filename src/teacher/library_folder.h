#pragma once

#include <QString>

namespace corvane::teacher {

// The test library the pupils see: the test folder beside the program. The one place to
// change when the folder comes from a setting.
QString libraryFolder();

// Where sources of the library's tests are kept: the source folder beside the library.
QString sourceFolderOf(const QString& library);

} // namespace corvane::teacher
