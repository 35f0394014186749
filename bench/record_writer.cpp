// SPDX-License-Identifier: GPL-3.0-or-later
// Writes COUNT class records into FOLDER through the program's own results folder writer, one
// pupil per record ("Pupil <process id>-<n>"), for the stress run of many writers at once.
//   record_writer FOLDER COUNT
// Exit status: 0 when all were written, 1 when one failed (the reason on stderr), 2 for bad
// arguments.
#include "core/class_record.h"
#include "platform/file_results_folder.h"
#include "pupil/record_keeper.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

#include <cstdio>
#include <unistd.h>

namespace {

corvane::ClassRecord recordFor(int n) {
    corvane::ClassRecord record;
    record.finished = QDateTime::currentDateTime();
    record.computer = QSysInfo::machineHostName();
    record.pupil = "Pupil " + std::to_string(::getpid()) + "-" + std::to_string(n);
    record.test = "Stress Test";
    record.testChecksum = corvane::checksumHex(QByteArrayLiteral("Stress Test"));
    for (int q = 1; q <= 5; ++q) {
        const bool right = (n + q) % 2 == 0;
        record.rows.push_back({q, right ? "A" : "B, \"C\"", right, {}});
        record.score += right;
    }
    return record;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    bool ok = false;
    const int count = argc == 3 ? QByteArray(argv[2]).toInt(&ok) : 0;
    if (!ok || count < 0) {
        std::fprintf(stderr, "usage: record_writer FOLDER COUNT\n");
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]);
    corvane::FileResultsFolder writer;
    for (int n = 1; n <= count; ++n) {
        QString error;
        if (!corvane::saveRecord(writer, folder, recordFor(n), error)) {
            std::fprintf(stderr, "record_writer: %s\n",
                         qPrintable(corvane::saveFailureText(folder, error)));
            return 1;
        }
    }
    return 0;
}
