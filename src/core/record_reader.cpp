// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/record_reader.h"

#include "core/class_record.h"
#include "core/csv_lines.h"
#include "core/question_store.h"

#include <QRegularExpression>

#include <array>

namespace corvane {

namespace {

constexpr std::array<const char*, 7> kFixedColumns{"Finished",      "Computer", "Pupil",    "Test",
                                                   "Test checksum", "Score",    "Questions"};
constexpr int kFixed = static_cast<int>(kFixedColumns.size());

bool isRecordHeader(const CsvLine& header) {
    const int count = static_cast<int>(header.size());
    if (count < kFixed || (count - kFixed) % 2 != 0) return false;
    for (int i = 0; i < kFixed; ++i)
        if (header[i] != kFixedColumns[i]) return false;
    for (int i = kFixed; i < count; i += 2) {
        const QByteArray number = QByteArray::number((i - kFixed) / 2 + 1);
        if (header[i] != "Q" + number + " verdict" || header[i + 1] != "Q" + number + " answer")
            return false;
    }
    return true;
}

// "2026-12-08T10:15:03+01:00"; "Z" is taken for "+00:00".
QDateTime finishedTime(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d(Z|[+-]\\d\\d:\\d\\d)$"));
    if (!form.match(text).hasMatch()) return {};
    return QDateTime::fromString(text, Qt::ISODate);
}

// A count of at most 30 written in decimal; -1 otherwise.
int smallCount(const QByteArray& text) {
    static const QRegularExpression digits(QStringLiteral("^\\d{1,2}$"));
    const QString asText = QString::fromLatin1(text);
    if (!digits.match(asText).hasMatch()) return -1;
    const int value = asText.toInt();
    return value <= kMaxQuestions ? value : -1;
}

QString fillRecord(const CsvLine& data, Record& record) {
    const auto text = [&](int column) { return QString::fromUtf8(formulaUnguarded(data[column])); };
    record.finished = finishedTime(text(0));
    if (!record.finished.isValid())
        return QStringLiteral("Finished is not a date and time with its UTC offset");
    record.computer = text(1);
    record.pupil = text(2);
    record.test = text(3);
    if (record.pupil.isEmpty() || record.test.isEmpty())
        return QStringLiteral("no pupil or no test named");
    record.checksum = text(4);
    static const QRegularExpression sha256(QStringLiteral("^[0-9a-f]{64}$"));
    if (!sha256.match(record.checksum).hasMatch())
        return QStringLiteral("Test checksum is not 64 lowercase hexadecimal digits");
    record.score = smallCount(data[5]);
    const int questions = smallCount(data[6]);
    if (questions != (static_cast<int>(data.size()) - kFixed) / 2)
        return QStringLiteral("Questions does not match the columns");
    if (record.score < 0 || record.score > questions)
        return QStringLiteral("Score is not a number from 0 to Questions");
    int rights = 0;
    for (int q = 0; q < questions; ++q) {
        const QByteArray& verdict = data[kFixed + 2 * q];
        if (verdict != "right" && verdict != "wrong")
            return QStringLiteral("Q%1 verdict is neither right nor wrong").arg(q + 1);
        const bool right = verdict == "right";
        rights += right ? 1 : 0;
        record.questions.push_back({right, text(kFixed + 2 * q + 1)});
    }
    if (rights != record.score) return QStringLiteral("Score does not match the verdicts");
    return {};
}

} // namespace

RecordParse parseRecord(QByteArrayView bytes) {
    RecordParse result;
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
    if (bytes.isEmpty()) {
        result.error = QStringLiteral("empty file");
        return result;
    }
    if (!bytes.isValidUtf8()) {
        result.error = QStringLiteral("foreign file (not UTF-8 text)");
        return result;
    }
    CsvLines csv = splitCsvLines(bytes);
    if (!csv.error.isEmpty()) {
        result.error = csv.error;
    } else if (csv.lines.empty() || !isRecordHeader(csv.lines[0])) {
        result.error = QStringLiteral("foreign file (not the header of a class record)");
    } else if (csv.lines.size() != 2) {
        result.error = QStringLiteral("%1 lines where a record has a header and one data line")
                           .arg(csv.lines.size());
    } else if (csv.lines[1].size() != csv.lines[0].size()) {
        result.error = QStringLiteral("the data line has %1 fields, the header %2")
                           .arg(csv.lines[1].size())
                           .arg(csv.lines[0].size());
    } else {
        result.error = fillRecord(csv.lines[1], result.record);
    }
    return result;
}

} // namespace corvane
