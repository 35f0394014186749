// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/source_highlighter.h"

#include "tools/make/answers.h"

#include <QRegularExpression>

namespace corvane::teacher {

namespace {

QTextCharFormat coloured(const QColor& colour, bool bold) {
    QTextCharFormat f;
    f.setForeground(colour);
    if (bold) f.setFontWeight(QFont::Bold);
    return f;
}

} // namespace

void SourceHighlighter::highlightBlock(const QString& text) {
    static const QRegularExpression heading(QStringLiteral("^ {0,3}(#{1,2})\\s"));
    static const QRegularExpression option(QStringLiteral("^ {0,3}[-*+]\\s+\\[([ xX])\\]"));
    static const QRegularExpression item(QStringLiteral("^ {0,3}(?:[-*+]|\\d{1,9}[.)])\\s"));
    static const QRegularExpression answer(QStringLiteral("^ {0,3}([A-Za-z][A-Za-z ]*?)\\s*:"));
    if (const QRegularExpressionMatch m = heading.match(text); m.hasMatch()) {
        setFormat(0, static_cast<int>(text.size()),
                  coloured(m.captured(1).size() == 1 ? QColor(0x8b, 0x1a, 0x1a)
                                                     : QColor(0x1e, 0x3a, 0x8a),
                           true));
    } else if (const QRegularExpressionMatch m = option.match(text); m.hasMatch()) {
        const bool right = m.captured(1) != QLatin1String(" ");
        setFormat(0, static_cast<int>(m.capturedEnd()),
                  coloured(right ? QColor(0x15, 0x80, 0x3d) : QColor(0x6b, 0x72, 0x80), true));
    } else if (const QRegularExpressionMatch m = item.match(text); m.hasMatch()) {
        setFormat(0, static_cast<int>(m.capturedEnd()), coloured(QColor(0xb4, 0x53, 0x09), true));
    } else if (const QRegularExpressionMatch m = answer.match(text);
               m.hasMatch() && make::answerKindOf(m.captured(1))) {
        setFormat(0, static_cast<int>(m.capturedEnd()), coloured(QColor(0x6d, 0x28, 0xd9), true));
        setFormat(static_cast<int>(m.capturedEnd()),
                  static_cast<int>(text.size() - m.capturedEnd()),
                  coloured(QColor(0x15, 0x80, 0x3d), false));
    }
    // Maths ($..$ and $$..$$) in teal over whatever the line is.
    static const QRegularExpression maths(
        QStringLiteral("\\$\\$.+?\\$\\$|\\$[^$\\s](?:[^$]*[^$\\s])?\\$"));
    for (const QRegularExpressionMatch& m : maths.globalMatch(text))
        for (qsizetype i = m.capturedStart(); i < m.capturedEnd(); ++i) {
            QTextCharFormat f = format(static_cast<int>(i));
            f.setForeground(QColor(0x0f, 0x76, 0x6e));
            setFormat(static_cast<int>(i), 1, f);
        }
}

} // namespace corvane::teacher
