// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/results_class_view.h"

#include "teacher/results_charts.h"
#include "tools/results/reports.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include <limits>

namespace corvane::teacher {

namespace {

constexpr int kFixedColumns = 4; // Pupil, Score, Finished, Attempts
constexpr qsizetype kGridLabelChars = 18;
const QColor kNewest(0xff, 0xf0, 0xa0);
const QColor kWrong(0xfb, 0xdc, 0xdc);

QTableWidget* table(const QString& name, const QString& accessibleName, QWidget* parent) {
    auto* t = new QTableWidget(parent);
    t->setObjectName(name);
    t->setAccessibleName(accessibleName);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setTabKeyNavigation(false); // Tab leaves the table; the arrows move inside it
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 8);
    return t;
}

QTableWidgetItem* item(const QString& text, const QString& accessible = {}) {
    auto* i = new QTableWidgetItem(text);
    if (!accessible.isEmpty()) i->setData(Qt::AccessibleTextRole, accessible);
    return i;
}

} // namespace

ClassView::ClassView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("classView"));
    summary_ = new QLabel(this);
    summary_->setTextFormat(Qt::PlainText); // texts of the records are never markup
    summary_->setObjectName(QStringLiteral("classSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    summary_->setFocusPolicy(Qt::StrongFocus);
    missing_ = new QLabel(this);
    missing_->setTextFormat(Qt::PlainText);
    missing_->setObjectName(QStringLiteral("missingPupils"));
    missing_->setWordWrap(true);
    missing_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    missing_->setFocusPolicy(Qt::StrongFocus);
    bars_ = new ShareBars(this);
    spread_ = new ScoreSpread(this);
    auto* charts = new QWidget(this);
    auto* chartRow = new QHBoxLayout(charts);
    chartRow->setContentsMargins(0, 0, 0, 0);
    chartRow->addWidget(bars_, 3);
    chartRow->addWidget(spread_, 1, Qt::AlignTop);

    grid_ = table(QStringLiteral("classGrid"), QStringLiteral("Pupils and their answers"), this);
    grid_->setToolTip(QStringLiteral("Enter or a double click opens the pupil's page"));
    connect(grid_, &QTableWidget::activated, this, [this](const QModelIndex& index) {
        if (const QTableWidgetItem* name = grid_->item(index.row(), 0))
            emit pupilActivated(name->data(Qt::UserRole).toString());
    });
    questions_ = table(QStringLiteral("questionTable"),
                       QStringLiteral("Questions, hardest first, with the wrong answers"), this);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(charts);
    split->addWidget(grid_);
    split->addWidget(questions_);
    // The grid gets most of the room: as many pupils as fit.
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 3);
    split->setStretchFactor(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(split, 1);
    layout->addWidget(missing_);
}

void ClassView::showTest(const results::TestSummary* test, const QStringList& missing,
                         const QStringList& strangers, const QString& newestPupil,
                         bool anyRecords) {
    if (!test) {
        summary_->setText(anyRecords ? QString() : QStringLiteral("No records yet."));
        grid_->clear();
        grid_->setRowCount(0);
        questions_->setRowCount(0);
        missing_->clear();
        return;
    }
    summary_->setText(QStringLiteral("%1, %2. Class average: %3. %4")
                          .arg(results::counted(test->questions, QStringLiteral("question")),
                               results::counted(test->pupilCount(), QStringLiteral("pupil")),
                               test->averageText(), results::choiceSentence(test->choice)));
    bars_->showTest(*test);
    spread_->showTest(*test);
    fillGrid(*test, strangers, newestPupil);
    fillQuestions(*test);
    missing_->setText(missing.isEmpty() ? QString()
                                        : QStringLiteral("Not finished (%1): %2")
                                              .arg(missing.size())
                                              .arg(missing.join(QStringLiteral(", "))));
}

void ClassView::fillGrid(const results::TestSummary& test, const QStringList& strangers,
                         const QString& newestPupil) {
    // The teacher's place in the grid stays on the same pupil and question.
    const int scrolled = grid_->verticalScrollBar()->value();
    const QTableWidgetItem* current = grid_->item(grid_->currentRow(), 0);
    const QString currentPupil = current ? current->data(Qt::UserRole).toString() : QString();
    const int currentColumn = grid_->currentColumn();
    grid_->clear();
    grid_->setRowCount(test.pupilCount());
    grid_->setColumnCount(kFixedColumns + test.questions);
    QStringList headers{QStringLiteral("Pupil"), QStringLiteral("Score"),
                        QStringLiteral("Finished"), QStringLiteral("Attempts")};
    grid_->setHorizontalHeaderLabels(headers);
    // Question columns are headed with the question's words, cut short; whole in the tooltip.
    for (const results::QuestionShare& share : test.shares) {
        auto* header = new QTableWidgetItem(results::shortLabel(share, kGridLabelChars));
        header->setToolTip(share.label());
        header->setData(Qt::AccessibleTextRole, share.label());
        grid_->setHorizontalHeaderItem(kFixedColumns + share.number - 1, header);
    }
    int row = 0;
    for (const results::PupilResult& pupil : test.pupils) {
        const bool newest =
            !newestPupil.isEmpty() && results::sameNameKey(pupil.name) == newestPupil;
        const bool stranger = strangers.contains(pupil.name);
        QString shown = newest ? QStringLiteral("\u2605 ") + pupil.name : pupil.name;
        QString spoken = newest ? pupil.name + QStringLiteral(", just finished") : QString();
        if (stranger) {
            shown += QStringLiteral(" (not on the class list)");
            spoken = (spoken.isEmpty() ? pupil.name : spoken) +
                     QStringLiteral(", not on the class list");
        }
        auto* name = item(shown, spoken);
        name->setData(Qt::UserRole, pupil.name);
        if (stranger) {
            QFont italic = name->font();
            italic.setItalic(true);
            name->setFont(italic);
            name->setToolTip(QStringLiteral("Not on the class list"));
        }
        if (newest) {
            name->setToolTip(QStringLiteral("Just finished"));
            name->setBackground(kNewest);
            QFont bold = name->font();
            bold.setBold(true);
            name->setFont(bold);
        }
        grid_->setItem(row, 0, name);
        grid_->setItem(row, 1,
                       item(QStringLiteral("%1/%2").arg(pupil.chosen.score).arg(test.questions)));
        grid_->setItem(row, 2, item(results::finishedText(pupil.chosen)));
        grid_->setItem(row, 3, item(QString::number(pupil.attemptCount())));
        int q = 0;
        for (const results::QuestionResult& result : pupil.chosen.questions) {
            ++q;
            const QString verdict =
                result.right ? QStringLiteral("right") : QStringLiteral("wrong");
            const QString label =
                grid_->horizontalHeaderItem(kFixedColumns + q - 1)
                    ? grid_->horizontalHeaderItem(kFixedColumns + q - 1)->toolTip()
                    : QStringLiteral("Q%1").arg(q);
            auto* cell =
                item(result.right ? QStringLiteral("\u2713") : QStringLiteral("\u2717"),
                     QStringLiteral("%1 %2, answer %3").arg(label, verdict, result.answer));
            // The pupil's answer as typed, never taken for markup.
            cell->setToolTip(Qt::convertFromPlainText(
                QStringLiteral("%1: %2 (%3)").arg(label, result.answer, verdict)));
            cell->setTextAlignment(Qt::AlignCenter);
            if (!result.right) cell->setBackground(kWrong);
            grid_->setItem(row, kFixedColumns + q - 1, cell);
        }
        if (!currentPupil.isEmpty() && pupil.name == currentPupil)
            grid_->setCurrentCell(row, std::max(currentColumn, 0));
        ++row;
    }
    grid_->resizeColumnsToContents();
    grid_->verticalScrollBar()->setValue(scrolled);
}

void ClassView::fillQuestions(const results::TestSummary& test) {
    const int currentRow = questions_->currentRow();
    const int currentColumn = questions_->currentColumn();
    questions_->clear();
    questions_->setColumnCount(3);
    questions_->setHorizontalHeaderLabels({QStringLiteral("Question"), QStringLiteral("Right"),
                                           QStringLiteral("Most common wrong answers")});
    questions_->setRowCount(static_cast<int>(test.shares.size()));
    int row = 0;
    for (const results::QuestionShare& share : test.shares) {
        questions_->setItem(row, 0, item(share.label()));
        questions_->setItem(row, 1, item(results::shareText(share.right, test.pupilCount())));
        // Every wrong answer, not only the most common: the row grows to hold them.
        auto* wrong = item(results::wrongAnswersText(share, std::numeric_limits<int>::max()));
        wrong->setToolTip(wrong->text());
        questions_->setItem(row, 2, wrong);
        ++row;
    }
    questions_->resizeColumnsToContents();
    questions_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    questions_->resizeRowsToContents();
    if (currentRow >= 0 && currentRow < row) questions_->setCurrentCell(currentRow, currentColumn);
}

} // namespace corvane::teacher
