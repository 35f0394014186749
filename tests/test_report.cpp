// SPDX-License-Identifier: GPL-3.0-or-later
// The report rows and the class record's bytes and file name, which the record reader relies on.
#include "core/class_record.h"
#include "core/panel_texts.h"

#include <QtTest>

using namespace corvane;

namespace {

// One question of each answer form, answered as the row says.
QuestionStore storeOf(std::int32_t type) {
    QuestionStore store;
    store.questionCount = 1;
    store.questionType[1] = type;
    store.optionCount[1] = 4;
    for (int k = 1; k <= 4; ++k)
        store.optionLabel[1][k] = Text(1, char('P' + k));
    return store;
}

} // namespace

class ReportTest : public QObject {
    Q_OBJECT

  private slots:
    void givenAnswer_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<int>>("marks");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ticked letters") << int(KMULTICHOICE) << QList<int>{1, 0, 1, 0} << ""
                                        << "A C";
        QTest::newRow("nothing ticked") << int(KSINGLECHOICE) << QList<int>{0, 0, 0, 0} << ""
                                        << "no answer";
        QTest::newRow("tick beyond the options")
            << int(KSINGLECHOICE) << QList<int>{0, 0, 0, 0, 1} << ""
            << "no answer";
        QTest::newRow("yes") << int(KYESNO) << QList<int>{1, 0} << ""
                             << "Yes";
        QTest::newRow("no") << int(KYESNO) << QList<int>{0, 1} << ""
                            << "No";
        QTest::newRow("yes/no untouched") << int(KYESNO) << QList<int>{} << ""
                                          << "no answer";
        QTest::newRow("order with a gap") << int(KORDER) << QList<int>{2, 0, 1, 4} << ""
                                          << "R ?Q T";
        QTest::newRow("order untouched") << int(KORDERUSER) << QList<int>{} << ""
                                         << "no answer";
        QTest::newRow("typed, spaces kept") << int(KWORD) << QList<int>{} << " cube"
                                            << " cube";
        const QString pounds = QString::fromLatin1("\xA3"
                                                   "3");
        QTest::newRow("typed money, pound") << int(KCURRENCY) << QList<int>{} << pounds << pounds;
        QTest::newRow("typed, empty") << int(KTIME) << QList<int>{} << ""
                                      << "no answer";
    }
    void givenAnswer() {
        QFETCH(int, type);
        QFETCH(QList<int>, marks);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QuestionStore store = storeOf(type);
        for (int k = 0; k < marks.size(); ++k)
            store.userMarks[1][k + 1] = marks[k];
        store.userText[1] = fromQt(typed);
        QCOMPARE(toQt(givenAnswerText(store, 1)), expected);
    }

    // The right answers come only when asked for, as the review's boxes word them.
    void rowsCarryVerdictsAndRightAnswersOnlyWhenAsked() {
        QuestionStore store = storeOf(KMULTICHOICE);
        store.questionCount = 2;
        store.answerKey[1][2] = 1;
        store.userMarks[1][2] = 1;
        store.questionType[2] = KMULTIENTRYMULTI;
        store.altCount[2] = 2;
        store.altText[2][1] = "3,4";
        store.altText[2][2] = "4,3";
        RightFlags right;
        right[1] = true;

        const std::vector<ReportRow> pupil = reportRows(store, right, false);
        QCOMPARE(pupil.size(), std::size_t(2));
        QCOMPARE(pupil[0].number, 1);
        QVERIFY(pupil[0].right && !pupil[1].right);
        QCOMPARE(pupil[1].answer, Text("no answer"));
        QVERIFY(pupil[0].rightAnswer.empty() && pupil[1].rightAnswer.empty());

        const std::vector<ReportRow> teacher = reportRows(store, right, true);
        QCOMPARE(teacher[0].rightAnswer, Text("Right Answer :B"));
        QCOMPARE(teacher[1].rightAnswer, trim(acceptedAnswersText(store, 2)));
    }

    void isoTime_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("expected");
        QTest::newRow("east") << 3600 << "2026-12-08T10:15:03+01:00";
        QTest::newRow("UTC keeps the offset form") << 0 << "2026-12-08T10:15:03+00:00";
        QTest::newRow("west, half hours") << -(5 * 3600 + 1800) << "2026-12-08T10:15:03-05:30";
    }
    void isoTime() {
        QFETCH(int, offset);
        QFETCH(QString, expected);
        const QDateTime time(QDate(2026, 12, 8), QTime(10, 15, 3, 999), Qt::OffsetFromUTC, offset);
        QCOMPARE(isoWithOffset(time), expected);
    }

    void csvBytes() {
        ClassRecord record;
        record.finished = QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7), Qt::OffsetFromUTC, 3600);
        record.computer = "room-4";
        record.pupil = "Zo\xEB, \"Z\"";
        record.test = "Money and Time";
        record.testChecksum = checksumHex("abc");
        record.score = 1;
        record.rows = {{1,
                        "\xA3"
                        "3",
                        true, "never written"},
                       {2, "line\nbreak", false, {}}};
        QCOMPARE(recordCsv(record),
                 QByteArray("Finished,Computer,Pupil,Test,Test checksum,Score,Questions,"
                            "Q1 verdict,Q1 answer,Q2 verdict,Q2 answer\r\n"
                            "2026-12-08T09:05:07+01:00,room-4,\"Zo\xC3\xAB, \"\"Z\"\"\","
                            "Money and Time,"
                            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad,1,2,"
                            "right,\xC2\xA3"
                            "3,wrong,\"line\nbreak\"\r\n"));
    }

    void namePart_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("kept") << "Ann Lee-Smith 2.b"
                              << "Ann Lee-Smith 2.b";
        QTest::newRow("path parts") << "../etc/passwd"
                                    << "-etc-passwd";
        QTest::newRow("Windows reserved, runs collapse") << "a:*?\"<>|\\b--c"
                                                         << "a-b-c";
        QTest::newRow("letter beyond ASCII") << QString::fromLatin1("Zo\xEB") << "Zo-";
        QTest::newRow("dots and spaces at the ends") << " .x. "
                                                     << "x";
        QTest::newRow("empty") << ""
                               << "-";
        QTest::newRow("only dots") << "..."
                                   << "-";
        QTest::newRow("cut to 40, no space left at the end")
            << QString(39, 'a') + " bcd" << QString(39, 'a');
    }
    void namePart() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(safeNamePart(text), expected);
    }

    void fileNames() {
        ClassRecord record;
        record.finished = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
        record.computer = "PC/7";
        record.pupil = "Ann";
        record.test = "Shapes 1";
        const QString name = recordFileName(record, 0xBEEF);
        QCOMPARE(name, "20260102-030405_PC-7_Ann_Shapes 1_0000beef.csv");
        QCOMPARE(temporaryName(name), "." + name + ".tmp");
    }
};

QTEST_GUILESS_MAIN(ReportTest)
#include "test_report.moc"
