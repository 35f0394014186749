#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace corvane::results {

using CsvLine = std::vector<QByteArray>;

// The lines of an RFC 4180 text, each split into its fields. Every line must end in CR LF;
// otherwise `error` says what is wrong and `lines` is not to be used.
struct CsvLines {
    std::vector<CsvLine> lines;
    QString error;
};

CsvLines splitCsvLines(QByteArrayView bytes);

// `text` as one CSV field: quoted, with inner quotes doubled, only when it holds a comma, a
// quote, CR or LF.
QByteArray csvField(QByteArrayView text);

} // namespace corvane::results
