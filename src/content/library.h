#pragma once

#include "content/text.h"

#include <QStringList>

#include <string>

namespace corvane {

// Deletes every ".txt" (lower case only), scanning once from the left as a replace-all does.
Text removeTxt(const Text& text);

// Makes `folder` the process's working folder; throws AppError ("File not found", "Invalid
// filename" or "File access denied") when that is not possible.
void enterFolder(const std::string& folder);

// The names of every entry of the working folder matching "*.txt", whatever its kind
// (files of any attribute and folders), in no particular order.
QStringList listTestEntries();

// A list entry as the bytes of its file name on disk.
std::string entryFileName(const QString& entry);

} // namespace corvane
