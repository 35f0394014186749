// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/check/report.h"

#include <QStringList>

#include <algorithm>

namespace corvane::check {

namespace {

QString counted(qsizetype count, const char* what) {
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(what),
                                                    count == 1 ? QString() : QStringLiteral("s"));
}

QString place(const Finding& finding) {
    QStringList parts;
    if (finding.line > 0) parts << QStringLiteral("line %1").arg(finding.line);
    if (finding.question > 0) parts << QStringLiteral("question %1").arg(finding.question);
    return parts.isEmpty() ? QString() : parts.join(QStringLiteral(", ")) + QStringLiteral(": ");
}

} // namespace

QString formatReport(const QString& path, const Findings& findings) {
    if (findings.empty()) return path + QStringLiteral(": OK\n");
    const auto errors = std::count_if(findings.begin(), findings.end(), [](const Finding& f) {
        return f.severity == Severity::Error;
    });
    const auto warnings = static_cast<qsizetype>(findings.size()) - errors;
    QString text = QStringLiteral("%1: %2, %3\n")
                       .arg(path, counted(errors, "error"), counted(warnings, "warning"));
    for (const Finding& finding : findings) {
        text += QStringLiteral("  %1%2: %3\n")
                    .arg(place(finding),
                         finding.severity == Severity::Error ? QStringLiteral("error")
                                                             : QStringLiteral("warning"),
                         finding.explanation);
        if (!finding.fix.isEmpty()) text += QStringLiteral("    fix: %1\n").arg(finding.fix);
    }
    return text;
}

} // namespace corvane::check
