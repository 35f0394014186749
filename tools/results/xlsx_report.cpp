// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/results/reports.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>

namespace corvane::results {

namespace {

constexpr lxw_row_t kHeaderRow = 3;

// Cells are written as strings or numbers, never as formulas, whatever a name starts with.
void text(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const QString& value,
          lxw_format* format = nullptr) {
    worksheet_write_string(sheet, row, col, value.toUtf8().constData(), format);
}

lxw_datetime cellTime(const QDateTime& time) {
    const QDate d = time.date();
    const QTime t = time.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), static_cast<double>(t.second())};
}

} // namespace

QString writeXlsxReport(const QString& path, const std::vector<TestSummary>& tests,
                        AttemptChoice choice) {
    // Written beside the file under a temporary name, then renamed: whole or not there.
    const QFileInfo target(path);
    const QString temporary =
        target.dir().filePath(QLatin1Char('.') + target.fileName() + QStringLiteral(".tmp"));
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;
    const QByteArray tmpdir = QFile::encodeName(QDir::tempPath());
    options.tmpdir = const_cast<char*>(tmpdir.constData());
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(temporary).constData(), &options);
    if (!book) return QStringLiteral("cannot be written");
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Results");
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* when = workbook_add_format(book);
    format_set_num_format(when, "yyyy-mm-dd hh:mm");

    int columns = 0;
    for (const TestSummary& test : tests)
        columns = std::max(columns, test.questions);
    text(sheet, 0, 0, QStringLiteral("Class results"), bold);
    text(sheet, 1, 0, choiceSentence(choice));
    const QStringList header{"Test",  "Version",   "Test checksum", "Pupil",   "Finished",
                             "Score", "Questions", "Attempts",      "Computer"};
    const auto fixed = static_cast<lxw_col_t>(header.size());
    for (lxw_col_t c = 0; c < fixed; ++c)
        text(sheet, kHeaderRow, c, header[c], bold);
    for (int q = 1; q <= columns; ++q)
        text(sheet, kHeaderRow, static_cast<lxw_col_t>(fixed + q - 1), QStringLiteral("Q%1").arg(q),
             bold);
    lxw_row_t row = kHeaderRow + 1;
    for (const TestSummary& test : tests)
        for (const PupilResult& pupil : test.pupils) {
            const Record& record = pupil.chosen;
            text(sheet, row, 0, test.test);
            text(sheet, row, 1, test.version);
            text(sheet, row, 2, test.checksum);
            text(sheet, row, 3, pupil.name);
            lxw_datetime finished = cellTime(record.finished);
            worksheet_write_datetime(sheet, row, 4, &finished, when);
            worksheet_write_number(sheet, row, 5, record.score, nullptr);
            worksheet_write_number(sheet, row, 6, test.questions, nullptr);
            worksheet_write_number(sheet, row, 7, pupil.attemptCount(), nullptr);
            text(sheet, row, 8, record.computer);
            lxw_col_t col = fixed;
            for (const QuestionResult& question : record.questions)
                worksheet_write_number(sheet, row, col++, question.right ? 1 : 0, nullptr);
            ++row;
        }
    worksheet_set_column(sheet, 0, 0, 24, nullptr);
    worksheet_set_column(sheet, 1, 1, 18, nullptr);
    worksheet_set_column(sheet, 3, 3, 24, nullptr);
    worksheet_set_column(sheet, 4, 4, 17, nullptr);
    worksheet_freeze_panes(sheet, kHeaderRow + 1, 0);
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        QFile::remove(temporary);
        return QString::fromUtf8(lxw_strerror(closed));
    }
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        const QString error = qt_error_string(errno);
        QFile::remove(temporary);
        return error;
    }
    return {};
}

} // namespace corvane::results
