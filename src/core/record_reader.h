// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reads a class record file back: corvane-results summarises the records, the pupil's window
// names the records it keeps until they are saved.
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <vector>

namespace corvane {

struct QuestionResult {
    bool right = false;
    QString answer; // as the pupil gave it
};

// One finished test as the program saves it in the results folder.
struct Record {
    QString file; // where it was read from
    QDateTime finished;
    QString computer;
    QString pupil;
    QString test;
    QString checksum; // SHA-256 of the test file, 64 lowercase hex digits
    int score = 0;
    std::vector<QuestionResult> questions;
};

struct RecordParse {
    Record record;
    QString error; // empty when the bytes are a record
};

// Reads the bytes of one record file: a header line and one data line, UTF-8, RFC 4180. A
// spreadsheet's byte-order mark and LF line ends are taken too; anything else gives the reason
// why it is not a record.
RecordParse parseRecord(QByteArrayView bytes);

} // namespace corvane
