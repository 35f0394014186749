// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>
#include <QSet>

namespace corvane::teacher {

// The source editor: plain text with line numbers and a mark beside each line that has a
// problem. Tab indents, as in any text editor; F6 leaves for the other panes.
class SourceEditor : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit SourceEditor(QWidget* parent = nullptr);

    void setProblemLines(const QSet<int>& lines);
    const QSet<int>& problemLines() const { return problemLines_; }
    int currentLine() const { return textCursor().blockNumber() + 1; }
    void goToLine(int line);
    int marginWidth() const;
    void paintMargin(QPaintEvent* event);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* margin_;
    QSet<int> problemLines_;
};

} // namespace corvane::teacher
