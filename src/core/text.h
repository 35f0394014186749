// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>

namespace corvane {

// A text of the program: single-byte characters, the pound sign being the byte 0xA3.
using Text = std::string;

// Changes only the letters a..z; every other byte stays.
Text upperCase(Text text);

// Drops every byte of code 32 or below from both ends.
Text trim(const Text& text);

// The one crossing between program texts and the toolkit (Latin-1 both ways).
QString toQt(const Text& text);
Text fromQt(const QString& text);

} // namespace corvane
