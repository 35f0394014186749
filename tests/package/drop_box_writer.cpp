// SPDX-License-Identifier: GPL-3.0-or-later
// Saves one class record for PUPIL into FOLDER through the program's own writer, as the
// program does at Finish; prints what went wrong and exits with 1 when it cannot.
//   usage: drop_box_writer FOLDER PUPIL
#include "core/class_record.h"
#include "platform/file_results_folder.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        QTextStream(stderr) << "usage: drop_box_writer FOLDER PUPIL\n";
        return 2;
    }
    corvane::ClassRecord record;
    record.finished = QDateTime::currentDateTime();
    record.computer = QStringLiteral("room-1");
    record.pupil = argv[2];
    record.test = "Shapes";
    record.testChecksum = corvane::checksumHex("5\n");
    record.score = 1;
    record.rows = {{1, "A", true, {}}};
    QString error;
    corvane::FileResultsFolder writer;
    if (corvane::saveRecord(writer, QString::fromLocal8Bit(argv[1]), record, error)) return 0;
    QTextStream(stderr) << error << "\n";
    return 1;
}
