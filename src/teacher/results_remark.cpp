// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/results_remark.h"

#include "platform/file_results_folder.h"
#include "tools/results/reports.h"
#include "tools/results/summary.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace corvane::teacher {

namespace {

bool sameRecord(const results::Record& a, const results::Record& b) {
    if (a.finished != b.finished || a.test != b.test || a.checksum != b.checksum ||
        a.score != b.score || a.questions.size() != b.questions.size() ||
        results::sameNameKey(a.pupil) != results::sameNameKey(b.pupil))
        return false;
    for (std::size_t q = 0; q < a.questions.size(); ++q)
        if (a.questions[q].right != b.questions[q].right ||
            a.questions[q].answer != b.questions[q].answer)
            return false;
    return true;
}

// "Q2 now right, Q4 now wrong"
QString changes(const results::Remarked& remarked) {
    QStringList changed;
    for (std::size_t q = 0; q < remarked.before.questions.size(); ++q) {
        const bool now = remarked.after.questions[q].right;
        if (now != remarked.before.questions[q].right)
            changed << QStringLiteral("Q%1 now %2").arg(q + 1).arg(now ? "right" : "wrong");
    }
    return changed.join(QStringLiteral(", "));
}

QTableWidget* sideBySide(const results::Remark& remark, QWidget* parent) {
    const QStringList headers{QStringLiteral("Pupil"),     QStringLiteral("Finished"),
                              QStringLiteral("Old score"), QStringLiteral("New score"),
                              QStringLiteral("Changes"),   QStringLiteral("Note")};
    auto* table = new QTableWidget(static_cast<int>(remark.records.size()),
                                   static_cast<int>(headers.size()), parent);
    table->setObjectName(QStringLiteral("remarkTable"));
    table->setAccessibleName(QStringLiteral("Old and new scores"));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    int row = 0;
    for (const results::Remarked& r : remark.records) {
        const QStringList cells{r.before.pupil,
                                results::finishedText(r.before),
                                QString::number(r.before.score),
                                r.marked ? QString::number(r.after.score) : QString(),
                                r.marked ? changes(r) : QString(),
                                r.problem};
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
        ++row;
    }
    table->resizeColumnsToContents();
    return table;
}

} // namespace

RemarkSave saveRemarked(const results::Remark& remark, const std::vector<results::Record>& held,
                        const QString& folder, ResultsFolder& writer) {
    RemarkSave outcome;
    for (const results::Remarked& r : remark.records) {
        if (!r.marked) continue;
        if (std::any_of(held.begin(), held.end(),
                        [&](const results::Record& h) { return sameRecord(h, r.after); })) {
            ++outcome.already;
            continue;
        }
        ClassRecord record;
        QString error;
        if (!results::toClassRecord(r.after, record))
            error = QStringLiteral("a name or answer holds a character the record cannot keep");
        else if (saveRecord(writer, folder, record, error))
            ++outcome.saved;
        if (!error.isEmpty()) outcome.failed << r.after.pupil + QStringLiteral(": ") + error;
    }
    return outcome;
}

RemarkDialog::RemarkDialog(results::Remark remark, std::vector<results::Record> held,
                           QString folder, QWidget* parent)
    : QDialog(parent), remark_(std::move(remark)), held_(std::move(held)),
      folder_(std::move(folder)) {
    setWindowTitle(QStringLiteral("Re-mark"));
    setObjectName(QStringLiteral("remarkDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Marked again with the corrected test (checksum %1). The old records stay "
                       "as they are; the new ones are saved beside them.")
            .arg(remark_.checksum.left(8)),
        this));
    layout->addWidget(sideBySide(remark_, this));
    outcome_ = new QLabel(this);
    outcome_->setTextFormat(Qt::PlainText); // names and paths are never markup
    outcome_->setObjectName(QStringLiteral("remarkOutcome"));
    outcome_->setWordWrap(true);
    outcome_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    layout->addWidget(outcome_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    saveButton_ =
        buttons->addButton(QStringLiteral("&Save the new records"), QDialogButtonBox::ActionRole);
    saveButton_->setEnabled(std::any_of(remark_.records.begin(), remark_.records.end(),
                                        [](const auto& r) { return r.marked; }));
    connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 420);
}

RemarkSave RemarkDialog::save() {
    FileResultsFolder writer;
    const RemarkSave outcome = saveRemarked(remark_, held_, folder_, writer);
    QString text = QStringLiteral("%1 saved in %2.")
                       .arg(results::counted(outcome.saved, QStringLiteral("new record")), folder_);
    if (outcome.already > 0)
        text += QStringLiteral(" Already in the folder: %1.").arg(outcome.already);
    if (!outcome.failed.isEmpty())
        text += QStringLiteral(" Not saved: ") + outcome.failed.join(QStringLiteral("; "));
    outcome_->setText(text);
    saveButton_->setEnabled(false);
    if (outcome.saved > 0) emit recordsSaved();
    return outcome;
}

} // namespace corvane::teacher
