// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvane {

// The text as a teacher reads it aloud: amounts ("£2.35" two pounds thirty-five, "70p" seventy
// pence), times ("4:50" four fifty), remainders ("7 r 3"), fractions ("3/4" three quarters,
// "3 1/4" three and a quarter, "5/12" five over twelve), powers and roots ("5²", "√49"),
// signs ("×" times, "÷" divided by) and numbers ("2,005" two thousand and five) become words;
// all other text stays as it is, with its spaces collapsed.
QString spokenMaths(const QString& text);

// A whole number in words, British style: 2005 "two thousand and five", -3 "minus three".
QString numberWords(qint64 number);

} // namespace corvane
