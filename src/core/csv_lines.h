// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace corvane {

using CsvLine = std::vector<QByteArray>;

// The lines of an RFC 4180 text, each split into its fields. Every line must end in CR LF or,
// as spreadsheets save it, in LF alone; otherwise `error` says what is wrong and `lines` is not
// to be used.
struct CsvLines {
    std::vector<CsvLine> lines;
    QString error;
};

CsvLines splitCsvLines(QByteArrayView bytes);

} // namespace corvane
