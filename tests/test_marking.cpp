// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/marking_rules.h"

#include <QTest>

using namespace corvane;

namespace {

const QByteArray kPound("\xA3");

Text bytes(const QByteArray& text) {
    return text.toStdString();
}

// Writes digits such as "01100" into option entries 1..5.
void setOptions(OptionRow& row, const QByteArray& digits) {
    for (int j = 1; j <= digits.size(); ++j)
        row[j] = digits[j - 1] - '0';
}

QuestionStore oneQuestion(int type, int optionCount = 0) {
    QuestionStore store;
    store.questionCount = 1;
    store.questionType[1] = type;
    store.optionCount[1] = optionCount;
    return store;
}

QuestionStore typedQuestion(int type, const QByteArray& stored, const QByteArray& typed) {
    QuestionStore store = oneQuestion(type);
    store.answerText[1] = bytes(stored);
    store.userText[1] = bytes(typed);
    return store;
}

QString praised(int score, int count) {
    return QStringLiteral("Score: %1 out of  %2     Well Done! ").arg(score).arg(count);
}

QString plain(int score, int count) {
    return QStringLiteral("Score: %1 out of %2").arg(score).arg(count);
}

} // namespace

class TestMarking : public QObject {
    Q_OBJECT

  private slots:
    // Choices, yes/no and orders compare option entries 1..optionCount with the key.
    void optionRules_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("optionCount");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("marks");
        QTest::addColumn<bool>("right");
        QTest::addRow("single, first of two keys")
            << 1 << 4 << QByteArray("0101") << QByteArray("0100") << true;
        QTest::addRow("single, second of two keys")
            << 1 << 4 << QByteArray("0101") << QByteArray("0001") << true;
        QTest::addRow("single, wrong choice")
            << 1 << 4 << QByteArray("0101") << QByteArray("1000") << false;
        QTest::addRow("single, key beyond optionCount")
            << 1 << 3 << QByteArray("00010") << QByteArray("00010") << false;
        QTest::addRow("single, no options")
            << 1 << 0 << QByteArray("1") << QByteArray("1") << false;
        QTest::addRow("yes/no, yes right")
            << 8 << 2 << QByteArray("10") << QByteArray("10") << true;
        QTest::addRow("yes/no, no wrong")
            << 8 << 2 << QByteArray("10") << QByteArray("01") << false;
        QTest::addRow("multi, exact") << 2 << 4 << QByteArray("0110") << QByteArray("0110") << true;
        QTest::addRow("multi, one extra tick")
            << 2 << 4 << QByteArray("0110") << QByteArray("1110") << false;
        QTest::addRow("multi, one missing")
            << 2 << 4 << QByteArray("0110") << QByteArray("0100") << false;
        QTest::addRow("multi, tick beyond optionCount")
            << 2 << 3 << QByteArray("01100") << QByteArray("01111") << true;
        QTest::addRow("multi, no options")
            << 2 << 0 << QByteArray("10000") << QByteArray("01000") << true;
        QTest::addRow("multi, negative optionCount")
            << 2 << -1 << QByteArray("1") << QByteArray("0") << true;
        QTest::addRow("order, same order")
            << 4 << 4 << QByteArray("3142") << QByteArray("3142") << true;
        QTest::addRow("order, two swapped")
            << 4 << 4 << QByteArray("3142") << QByteArray("1342") << false;
        QTest::addRow("pupil's order, same")
            << 9 << 3 << QByteArray("231") << QByteArray("231") << true;
        QTest::addRow("pupil's order, unfinished")
            << 9 << 3 << QByteArray("231") << QByteArray("230") << false;
        QTest::addRow("no type, marks match")
            << 0 << 2 << QByteArray("10") << QByteArray("10") << false;
        QTest::addRow("unknown type, marks match")
            << 12 << 2 << QByteArray("10") << QByteArray("10") << false;
    }
    void optionRules() {
        QFETCH(int, type);
        QFETCH(int, optionCount);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, marks);
        QFETCH(bool, right);
        QuestionStore store = oneQuestion(type, optionCount);
        setOptions(store.answerKey[1], key);
        setOptions(store.userMarks[1], marks);
        QCOMPARE(isQuestionRight(store, 1), right);
    }

    // Typed answers are brought into their type's form and compared byte for byte.
    void typedRules_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<bool>("right");
        QTest::addRow("word, case and spaces")
            << 3 << QByteArray("Twelve") << QByteArray(" t W elve") << true;
        QTest::addRow("word, different")
            << 3 << QByteArray("TWELVE") << QByteArray("TWELFTH") << false;
        QTest::addRow("word, spaces only vs empty")
            << 3 << QByteArray() << QByteArray("   ") << true;
        QTest::addRow("word, accented byte not folded")
            << 3 << QByteArray("\xC9") << QByteArray("\xE9") << false;
        QTest::addRow("money, plain") << 5 << QByteArray("1.50") << QByteArray("1.50") << true;
        QTest::addRow("money, pound sign") << 5 << QByteArray("1.50") << kPound + "1.50" << true;
        QTest::addRow("money, small p") << 5 << QByteArray("1.50") << QByteArray("1.50p") << true;
        QTest::addRow("money, capital P") << 5 << QByteArray("1.50") << QByteArray("1.50P") << true;
        QTest::addRow("money, spaced point")
            << 5 << QByteArray("1.50") << QByteArray("1 . 50") << true;
        QTest::addRow("money, other amount")
            << 5 << QByteArray("1.50") << QByteArray("1.05") << false;
        QTest::addRow("money, .5 padded") << 5 << QByteArray(".50") << QByteArray(".5") << true;
        QTest::addRow("money, .50 over-padded")
            << 5 << QByteArray(".50") << QByteArray(".50") << false;
        QTest::addRow("money, stored not normalised")
            << 5 << QByteArray("1.50p") << QByteArray("1.50p") << false;
        QTest::addRow("money, lone P kept") << 5 << QByteArray("P") << QByteArray("p") << true;
        // The point is padded only when it comes first as typed: "£" is dropped after that.
        QTest::addRow("money, pound before a leading point")
            << 5 << QByteArray(".5") << kPound + ".5" << true;
        QTest::addRow("comma, with vs without")
            << 6 << QByteArray("1,000") << QByteArray("1000") << false;
        QTest::addRow("comma, trailing word")
            << 6 << QByteArray("1,000") << QByteArray("1,000 apples") << true;
        QTest::addRow("comma, one character each")
            << 6 << QByteArray("7") << QByteArray("3") << true;
        QTest::addRow("comma, empty vs one character")
            << 6 << QByteArray("7") << QByteArray() << true;
        QTest::addRow("comma, two vs one character")
            << 6 << QByteArray("7") << QByteArray("37") << false;
        QTest::addRow("comma, one character and a blank")
            << 6 << QByteArray("7") << QByteArray("7 ") << true;
        QTest::addRow("time, colon vs point")
            << 7 << QByteArray("9.05 pm") << QByteArray("9:05PM") << true;
        QTest::addRow("time, morning vs afternoon")
            << 7 << QByteArray("9:05pm") << QByteArray("9:05am") << false;
        QTest::addRow("pair, spaced remainder")
            << 10 << QByteArray("3,2") << QByteArray(" 3 r 2 ") << true;
        QTest::addRow("pair, stored lower-case")
            << 10 << QByteArray("3r2") << QByteArray("3r2") << false;
        QTest::addRow("pair, stored spaced")
            << 10 << QByteArray("3 R 2") << QByteArray("3 R 2") << false;
        // Only bytes up to 32 are trimmed: a leading "£" stays and stands in for a number.
        QTest::addRow("pair, pound sign first")
            << 10 << QByteArray("3,2") << kPound + "3 r 2" << false;
        QTest::addRow("pair, pound sign read as no number")
            << 10 << QByteArray("!,3") << kPound + "3 r 2" << true;
        QTest::addRow("no type, texts equal") << 0 << QByteArray("5") << QByteArray("5") << false;
    }
    void typedRules() {
        QFETCH(int, type);
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, typed);
        QFETCH(bool, right);
        QCOMPARE(isQuestionRight(typedQuestion(type, stored, typed), 1), right);
    }

    void currencyForm_data() {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QByteArray>("form");
        QTest::addRow("pound") << kPound + "1.50" << QByteArray("1.50");
        QTest::addRow("pence") << QByteArray("150p") << QByteArray("150");
        QTest::addRow("point first, zero appended") << QByteArray(".5p") << QByteArray(".50");
        QTest::addRow("lone pound kept") << kPound << kPound;
        QTest::addRow("pound and pence only") << kPound + "p" << QByteArray();
    }
    void currencyForm() {
        QFETCH(QByteArray, typed);
        QFETCH(QByteArray, form);
        QCOMPARE(corvane::currencyForm(bytes(typed)), bytes(form));
    }

    // Alternatives 1..altCount are compared as stored; beyond altCount they are ignored.
    void multiEntryMulti_data() {
        QTest::addColumn<int>("altCount");
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<bool>("right");
        QTest::addRow("first alternative") << 3 << QByteArray("3 r 2") << true;
        QTest::addRow("last alternative") << 3 << QByteArray("4/1") << true;
        QTest::addRow("lower-case alternative") << 3 << QByteArray("5r5") << false;
        QTest::addRow("beyond altCount") << 2 << QByteArray("4,1") << false;
        QTest::addRow("no alternatives") << 0 << QByteArray("3,2") << false;
    }
    void multiEntryMulti() {
        QFETCH(int, altCount);
        QFETCH(QByteArray, typed);
        QFETCH(bool, right);
        QuestionStore store = oneQuestion(KMULTIENTRYMULTI);
        store.altCount[1] = altCount;
        store.altText[1][1] = "3,2";
        store.altText[1][2] = "5r5";
        store.altText[1][3] = "4,1";
        store.userText[1] = bytes(typed);
        QCOMPARE(isQuestionRight(store, 1), right);
    }

    void markAllCountsEachQuestionOnce() {
        QuestionStore store;
        store.questionCount = 3;
        store.questionType[1] = KMULTIENTRYMULTI;
        store.altCount[1] = 2;
        store.altText[1][1] = "3,2";
        store.altText[1][2] = "3,2";
        store.userText[1] = "3R2";
        store.questionType[2] = KWORD;
        store.answerText[2] = "TEN";
        store.userText[2] = "nine";
        store.questionType[3] = KYESNO;
        store.optionCount[3] = 2;
        setOptions(store.answerKey[3], "01");
        setOptions(store.userMarks[3], "01");

        RightFlags right;
        right[2] = true; // left from an earlier marking
        right[4] = true; // beyond questionCount: must stay
        std::int32_t score = 99;
        markAll(store, right, score);
        QCOMPARE(score, 2);
        QVERIFY(right[1]);
        QVERIFY(!right[2]);
        QVERIFY(right[3]);
        QVERIFY(right[4]);
    }

    // Entry 6 is outside the store: marking stops there, keeping what it marked before.
    void sixOptionsRaise_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("marks");
        QTest::addRow("single, no match") << 1 << QByteArray("00000") << QByteArray("10000");
        QTest::addRow("yes/no, no match") << 8 << QByteArray("00000") << QByteArray("00000");
        QTest::addRow("multi, all equal") << 2 << QByteArray("01000") << QByteArray("01000");
        QTest::addRow("order, all equal") << 4 << QByteArray("12345") << QByteArray("12345");
        QTest::addRow("pupil's order, all equal")
            << 9 << QByteArray("12345") << QByteArray("12345");
    }
    void sixOptionsRaise() {
        QFETCH(int, type);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, marks);
        QuestionStore store;
        store.questionCount = 3;
        store.questionType[1] = KWORD;
        store.answerText[1] = "A";
        store.userText[1] = "a";
        store.questionType[2] = type;
        store.optionCount[2] = 6;
        setOptions(store.answerKey[2], key);
        setOptions(store.userMarks[2], marks);
        store.questionType[3] = KWORD;

        RightFlags right;
        right[2] = true;
        right[3] = true;
        std::int32_t score = 0;
        try {
            markAll(store, right, score);
            QFAIL("marking went past entry 5");
        } catch (const AppError& error) {
            QCOMPARE(QByteArray(error.what()), QByteArray("Range check error"));
        }
        QCOMPARE(score, 1);
        QVERIFY(right[1]);
        QVERIFY(!right[2]);
        QVERIFY(right[3]);
    }

    void sixOptionsStopEarlyWhenDecided() {
        QuestionStore single = oneQuestion(KSINGLECHOICE, 6);
        setOptions(single.answerKey[1], "01000");
        setOptions(single.userMarks[1], "01000");
        QVERIFY(isQuestionRight(single, 1));

        QuestionStore multi = oneQuestion(KMULTICHOICE, 6);
        setOptions(multi.answerKey[1], "01000");
        QVERIFY(!isQuestionRight(multi, 1));
    }

    void completeness_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("optionCount");
        QTest::addColumn<QByteArray>("marks");
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<bool>("unanswered");
        QTest::addRow("single, nothing ticked") << 1 << 3 << QByteArray() << QByteArray() << true;
        QTest::addRow("single, tick beyond optionCount")
            << 1 << 3 << QByteArray("00001") << QByteArray() << false;
        QTest::addRow("multi, nothing ticked, empty key")
            << 2 << 4 << QByteArray() << QByteArray() << true;
        QTest::addRow("multi, one ticked") << 2 << 4 << QByteArray("0010") << QByteArray() << false;
        QTest::addRow("yes/no, nothing chosen") << 8 << 2 << QByteArray() << QByteArray() << false;
        QTest::addRow("order, nothing chosen") << 4 << 4 << QByteArray() << QByteArray() << false;
        QTest::addRow("pupil's order, nothing chosen")
            << 9 << 4 << QByteArray() << QByteArray() << false;
        QTest::addRow("no type") << 0 << 0 << QByteArray() << QByteArray() << false;
        QTest::addRow("spaces only") << 3 << 0 << QByteArray() << QByteArray("  ") << false;
        QTest::addRow("single, typed text ignored")
            << 1 << 3 << QByteArray() << QByteArray("A") << true;
        for (int type : {3, 5, 6, 7, 10, 11}) {
            QTest::addRow("type %d, empty", type)
                << type << 0 << QByteArray() << QByteArray() << true;
            QTest::addRow("type %d, typed", type)
                << type << 0 << QByteArray() << QByteArray("1") << false;
        }
    }
    void completeness() {
        QFETCH(int, type);
        QFETCH(int, optionCount);
        QFETCH(QByteArray, marks);
        QFETCH(QByteArray, typed);
        QFETCH(bool, unanswered);
        QuestionStore store = oneQuestion(type, optionCount);
        setOptions(store.userMarks[1], marks);
        store.userText[1] = bytes(typed);
        const Completeness result = checkCompleteness(store);
        QCOMPARE(result.allAnswered, !unanswered);
        QCOMPARE(result.firstUnanswered, unanswered ? 1 : -1);
    }

    void completenessFindsFirstUnanswered() {
        QuestionStore store;
        store.questionCount = 4;
        for (int q = 1; q <= 4; ++q)
            store.questionType[q] = KWORD;
        store.userText[1] = "A";
        store.userText[3] = "C";
        const Completeness result = checkCompleteness(store);
        QVERIFY(!result.allAnswered);
        QCOMPARE(result.firstUnanswered, 2);
    }

    void scoreLine_data() {
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("line");
        QTest::addRow("4 of 5") << 4 << 5 << QStringLiteral("Score: 4 out of  5     Well Done! ");
        QTest::addRow("3 of 5") << 3 << 5 << QStringLiteral("Score: 3 out of 5");
        QTest::addRow("30 of 30") << 30 << 30
                                  << QStringLiteral("Score: 30 out of  30     Well Done! ");
        QTest::addRow("0 of 30") << 0 << 30 << QStringLiteral("Score: 0 out of 30");
        QTest::addRow("no questions") << 0 << 0 << QStringLiteral("Score: 0 out of 0");
        QTest::addRow("23 of 29, 79 per cent") << 23 << 29 << plain(23, 29);
        // The least score that reaches 80 per cent, and the one below it, per test size.
        const int sizes[][2] = {{5, 4}, {10, 8}, {12, 10}, {15, 12}, {20, 16}, {25, 20}, {30, 24}};
        for (const auto& [count, least] : sizes) {
            QTest::addRow("%d of %d", least, count) << least << count << praised(least, count);
            QTest::addRow("%d of %d", least - 1, count)
                << least - 1 << count << plain(least - 1, count);
        }
    }
    void scoreLine() {
        QFETCH(int, score);
        QFETCH(int, count);
        QFETCH(QString, line);
        QCOMPARE(QString::fromLatin1(corvane::scoreLine(score, count)), line);
    }
};

QTEST_APPLESS_MAIN(TestMarking)
#include "test_marking.moc"
