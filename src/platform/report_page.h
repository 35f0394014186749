// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report.h"

class QPainter;
class QRectF;

namespace corvane {

// Paints the report black on white into `page` (in the painter's device pixels), on one page
// for up to 30 questions: the header lines, then one row per question.
void paintReport(QPainter& painter, const QRectF& page, const Report& report);

} // namespace corvane
