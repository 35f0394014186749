// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_report_printer.h"

#include "core/app_error.h"
#include "platform/report_page.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace corvane {

bool QtReportPrinter::print(const Report& report) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Corvane Maths - ") + toQt(report.pupilName));
    QPrintDialog dialog(&printer, owner_);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) return false;
    QPainter painter;
    if (!painter.begin(&printer)) throw AppError("The printer could not be started");
    // The painter's origin is the top left of the printable area.
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    paintReport(painter, QRectF(0, 0, area.width(), area.height()), report);
    return painter.end();
}

} // namespace corvane
