// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Re-marking after a corrected answer key: the old and the new scores side by side, and the
// new records saved beside the old ones.
#include "platform/seams.h"
#include "tools/results/remark.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;

namespace corvane::teacher {

struct RemarkSave {
    int saved = 0;
    int already = 0;    // the folder holds the same new record already
    QStringList failed; // "pupil: reason"
};

// Saves each re-marked record as a new file of `folder` through `writer`, which never replaces
// a file. A record the folder already holds (a second re-mark with the same file) is not saved
// again; records that could not be marked are left out.
RemarkSave saveRemarked(const results::Remark& remark, const std::vector<results::Record>& held,
                        const QString& folder, ResultsFolder& writer);

class RemarkDialog : public QDialog {
    Q_OBJECT
  public:
    RemarkDialog(results::Remark remark, std::vector<results::Record> held, QString folder,
                 QWidget* parent = nullptr);

    // Saves the new records (the dialog's Save button) and says how it went.
    RemarkSave save();

  signals:
    void recordsSaved(); // at least one new record is in the folder

  private:
    results::Remark remark_;
    std::vector<results::Record> held_;
    QString folder_;
    QLabel* outcome_;
    QPushButton* saveButton_;
};

} // namespace corvane::teacher
