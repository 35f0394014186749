// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/source_editor.h"

#include <QPainter>
#include <QTextBlock>

namespace corvane::teacher {

namespace {

class Margin : public QWidget {
  public:
    explicit Margin(SourceEditor* editor) : QWidget(editor), editor_(editor) {}
    QSize sizeHint() const override { return {editor_->marginWidth(), 0}; }

  protected:
    void paintEvent(QPaintEvent* event) override { editor_->paintMargin(event); }

  private:
    SourceEditor* editor_;
};

constexpr int kMarkWidth = 14;

} // namespace

SourceEditor::SourceEditor(QWidget* parent) : QPlainTextEdit(parent), margin_(new Margin(this)) {
    setObjectName(QStringLiteral("sourceEditor"));
    setAccessibleName(tr("Test source"));
    setAccessibleDescription(tr("Tab indents; F6 moves to the problems and the preview."));
    // A long line wraps at the edge, numbered once.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    setFont(mono);
    setTabStopDistance(4 * fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    connect(this, &QPlainTextEdit::blockCountChanged, this,
            [this] { setViewportMargins(marginWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0)
            margin_->scroll(0, dy);
        else
            margin_->update(0, rect.y(), margin_->width(), rect.height());
    });
    setViewportMargins(marginWidth(), 0, 0, 0);
}

int SourceEditor::marginWidth() const {
    const int digits = static_cast<int>(QString::number(std::max(1, blockCount())).size());
    return kMarkWidth + 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void SourceEditor::setProblemLines(const QSet<int>& lines) {
    problemLines_ = lines;
    margin_->update();
}

void SourceEditor::goToLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(std::max(0, line - 1));
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    setTextCursor(cursor);
    centerCursor();
    setFocus();
}

void SourceEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    margin_->setGeometry(area.left(), area.top(), marginWidth(), area.height());
}

void SourceEditor::paintMargin(QPaintEvent* event) {
    QPainter painter(margin_);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int height = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        const int line = block.blockNumber() + 1;
        if (block.isVisible()) {
            if (problemLines_.contains(line)) {
                painter.setBrush(QColor(0xdc, 0x26, 0x26));
                painter.setPen(Qt::NoPen);
                painter.drawEllipse(QRect(3, top + (height - 10) / 2, 10, 10));
            }
            painter.setPen(palette().color(QPalette::PlaceholderText));
            painter.drawText(kMarkWidth, top, marginWidth() - kMarkWidth - 4, height,
                             Qt::AlignRight, QString::number(line));
        }
        top += qRound(blockBoundingRect(block).height());
        block = block.next();
    }
}

} // namespace corvane::teacher
