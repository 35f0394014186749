// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace corvane {

// A formula written in TeX as the plain maths text a pupil reads and the read-aloud wording
// reads: \frac{3}{4} -> "3/4", 3\frac{1}{4} -> "3 1/4", 5^2 -> "5²", \sqrt{49} -> "√49",
// 3 \times 4 -> "3 × 4", 90^\circ -> "90°", 5\,\text{cm} -> "5 cm". A part that is more than a
// number or a letter is put in brackets: \frac{x+1}{2} -> "(x+1)/2".
QString texAsPlain(const QString& tex);

} // namespace corvane
