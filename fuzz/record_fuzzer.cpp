// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the record parser of corvane-results. Whatever the bytes, parsing ends
// with a record or a reason. A record keeps the promises the summary relies on, and written
// out again with the program's own field quoting it reads back as the same record.

#include "core/class_record.h"
#include "core/record_reader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace corvane;

namespace {

// A text field as the program writes it.
QByteArray textField(const QString& text) {
    return csvField(formulaGuarded(text.toUtf8()));
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "record fuzzer: %s\n", what);
    std::abort();
}

QByteArray written(const Record& record) {
    QByteArrayList header{"Finished",      "Computer", "Pupil",    "Test",
                          "Test checksum", "Score",    "Questions"};
    QByteArrayList data{record.finished.toString(Qt::ISODate).toUtf8(),
                        textField(record.computer),
                        textField(record.pupil),
                        textField(record.test),
                        record.checksum.toUtf8(),
                        QByteArray::number(record.score),
                        QByteArray::number(record.questions.size())};
    for (std::size_t q = 0; q < record.questions.size(); ++q) {
        const QByteArray number = QByteArray::number(q + 1);
        header << "Q" + number + " verdict"
               << "Q" + number + " answer";
        data << (record.questions[q].right ? "right" : "wrong")
             << textField(record.questions[q].answer);
    }
    return header.join(',') + "\r\n" + data.join(',') + "\r\n";
}

bool same(const Record& a, const Record& b) {
    if (a.finished != b.finished || a.computer != b.computer || a.pupil != b.pupil ||
        a.test != b.test || a.checksum != b.checksum || a.score != b.score ||
        a.questions.size() != b.questions.size())
        return false;
    for (std::size_t q = 0; q < a.questions.size(); ++q)
        if (a.questions[q].right != b.questions[q].right ||
            a.questions[q].answer != b.questions[q].answer)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RecordParse parse = parseRecord(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!parse.error.isEmpty()) return 0;
    const Record& record = parse.record;
    int rights = 0;
    for (const QuestionResult& question : record.questions)
        rights += question.right ? 1 : 0;
    if (record.questions.size() > 30 || rights != record.score) fail("score or count out of line");
    if (!record.finished.isValid() || record.pupil.isEmpty() || record.test.isEmpty() ||
        record.checksum.size() != 64)
        fail("a record without its time, pupil, test or checksum");
    const RecordParse again = parseRecord(written(record));
    if (!again.error.isEmpty() || !same(record, again.record))
        fail("written out, reads back otherwise");
    return 0;
}
