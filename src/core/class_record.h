// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One finished test as a file of the class record: its CSV bytes and its file name. The reader
// of the records (corvane-results) relies on exactly this form.
#include "core/report.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

struct ClassRecord {
    QDateTime finished; // local time
    QString computer;
    Text pupil;
    Text test;
    QByteArray testChecksum; // SHA-256 of the test file, lowercase hex
    std::int32_t score = 0;
    std::vector<ReportRow> rows; // right answers are never written
};

// SHA-256 of `bytes` as 64 lowercase hex digits.
QByteArray checksumHex(const QByteArray& bytes);
// SHA-256 of the file at `path` (bytes as the system names it); empty when it cannot be read.
QByteArray fileChecksum(const std::string& path);

// "2026-12-08T10:15:03+01:00": seconds, and the offset even when it is zero.
QString isoWithOffset(const QDateTime& time);

// A field of an RFC 4180 line: quoted when it holds a comma, quote, CR or LF.
QByteArray csvField(const QByteArray& utf8);

// A text that a spreadsheet would take for a formula (it starts with = + - @ tab or CR) is
// written with a leading "'", and so is one that would otherwise read back as such a text.
QByteArray formulaGuarded(const QByteArray& utf8);
// The text that formulaGuarded wrote as `field`.
QByteArray formulaUnguarded(const QByteArray& field);

// The header line and the data line, each ending in CR LF, texts in UTF-8.
QByteArray recordCsv(const ClassRecord& record);

// A part of a file name safe on Windows and Unix: characters outside A-Z a-z 0-9 space . -
// become "-", runs of "-" collapse, dots and spaces are dropped at both ends, at most 40
// characters, "-" when nothing is left.
QString safeNamePart(const QString& text);

// "YYYYMMDD-HHMMSS_<computer>_<pupil>_<test>_<unique>.csv", `unique` as 8 lowercase hex digits.
QString recordFileName(const ClassRecord& record, std::uint32_t unique);

// `fileName` with its unique part (the 8 hex digits before ".csv") drawn again as `unique`.
QString withUniquePart(const QString& fileName, std::uint32_t unique);

// The name a record is written under before it is renamed into place: "." + name + ".tmp".
QString temporaryName(const QString& fileName);

} // namespace corvane
