// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/normalise.h"

#include <QTest>

using namespace corvane;

namespace {

const QByteArray kPound("\xA3");

Text bytes(const QByteArray& text) {
    return text.toStdString();
}

} // namespace

// Each routine is checked against a table of inputs and the exact bytes it must give.
class TestNormalise : public QObject {
    Q_OBJECT

  private slots:
    void removespace_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::addRow("empty") << QByteArray() << QByteArray();
        QTest::addRow("spaces only") << QByteArray("  ") << QByteArray();
        QTest::addRow("spaces around and inside") << QByteArray(" 12 34 ") << QByteArray("1234");
        QTest::addRow("words") << QByteArray("TWELVE POUNDS") << QByteArray("TWELVEPOUNDS");
        QTest::addRow("tab stays") << QByteArray("3\t4") << QByteArray("3\t4");
        QTest::addRow("pound sign stays") << kPound + " 1" << kPound + "1";
    }
    void removespace() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(corvane::removespace(bytes(input)), bytes(expected));
    }

    void tocomma_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::addRow("empty") << QByteArray() << QByteArray();
        QTest::addRow("one digit") << QByteArray("7") << QByteArray();
        QTest::addRow("one minus") << QByteArray("-") << QByteArray();
        QTest::addRow("two digits") << QByteArray("12") << QByteArray("12");
        QTest::addRow("thousands comma") << QByteArray("1,234") << QByteArray("1,234");
        QTest::addRow("inner space") << QByteArray("1 234") << QByteArray("1234");
        QTest::addRow("pound and point") << kPound + "1,234.50" << QByteArray("1,234.50");
        QTest::addRow("continental form") << QByteArray("1.000,5") << QByteArray("1.000,5");
        QTest::addRow("negative") << QByteArray("-12.5") << QByteArray("-12.5");
        QTest::addRow("letters only") << QByteArray("ABC") << QByteArray();
        QTest::addRow("number and unit") << QByteArray("12 MM") << QByteArray("12");
        QTest::addRow("two non-number bytes") << QByteArray("A" + kPound) << QByteArray();
    }
    void tocomma() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(corvane::tocomma(bytes(input)), bytes(expected));
    }

    void totime_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::addRow("empty") << QByteArray() << QByteArray();
        QTest::addRow("colon") << QByteArray("12:30") << QByteArray("12.30");
        QTest::addRow("point") << QByteArray("12.30") << QByteArray("12.30");
        QTest::addRow("minus") << QByteArray("12-30") << QByteArray("12.30");
        QTest::addRow("comma") << QByteArray("12,30") << QByteArray("12.30");
        QTest::addRow("leading zero") << QByteArray("09:05") << QByteArray("09.05");
        QTest::addRow("AM") << QByteArray("9:05AM") << QByteArray("9.05AM");
        QTest::addRow("PM") << QByteArray("9:05PM") << QByteArray("9.05PM");
        QTest::addRow("no separator") << QByteArray("1230") << QByteArray("1230");
        QTest::addRow("points in A.M.") << QByteArray("10:30A.M.") << QByteArray("10.30A.M.");
        QTest::addRow("words keep A P M") << QByteArray("HALFPAST3") << QByteArray("APA3");
        QTest::addRow("one digit") << QByteArray("5") << QByteArray("5");
        QTest::addRow("lower-case pm left out") << QByteArray("9:05pm") << QByteArray("9.05");
        QTest::addRow("pound left out") << kPound + "9:05" << QByteArray("9.05");
    }
    void totime() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(corvane::totime(bytes(input)), bytes(expected));
    }

    void isnumchar_data() {
        QTest::addColumn<char>("c");
        QTest::addColumn<bool>("expected");
        QTest::addRow("0") << '0' << true;
        QTest::addRow("9") << '9' << true;
        QTest::addRow("minus") << '-' << true;
        QTest::addRow("point") << '.' << true;
        QTest::addRow("slash, before 0") << '/' << false;
        QTest::addRow("colon, after 9") << ':' << false;
        QTest::addRow("comma") << ',' << false;
        QTest::addRow("plus") << '+' << false;
        QTest::addRow("space") << ' ' << false;
        QTest::addRow("letter") << 'R' << false;
        QTest::addRow("pound byte") << '\xA3' << false;
    }
    void isnumchar() {
        QFETCH(char, c);
        QFETCH(bool, expected);
        QCOMPARE(corvane::isnumchar(c), expected);
    }

    void topair_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::addRow("empty") << QByteArray() << QByteArray("0,0");
        QTest::addRow("spaces only") << QByteArray("   ") << QByteArray("0,0");
        QTest::addRow("control bytes only") << QByteArray("\t\r\n") << QByteArray("0,0");
        QTest::addRow("already a pair") << QByteArray("12,34") << QByteArray("12,34");
        QTest::addRow("remainder spaced") << QByteArray("3 R 2") << QByteArray("3,2");
        QTest::addRow("remainder packed") << QByteArray("3R2") << QByteArray("3,2");
        QTest::addRow("spaces around") << QByteArray(" 3 R 2 ") << QByteArray("3,2");
        QTest::addRow("remainder word") << QByteArray("7 REMAINDER 3") << QByteArray("7,3");
        QTest::addRow("fraction") << QByteArray("3/4") << QByteArray("3,4");
        QTest::addRow("decimals and signs")
            << QByteArray("-3.5 AND 2.25X") << QByteArray("-3.5,2.25");
        QTest::addRow("third number ignored") << QByteArray("12 34 56") << QByteArray("12,34");
        QTest::addRow("one number") << QByteArray("12") << QByteArray("12,!");
        QTest::addRow("starts with a letter") << QByteArray("R2") << QByteArray("!,2");
        QTest::addRow("number inside letters") << QByteArray("X7Y") << QByteArray("!,7");
        QTest::addRow("bracketed pair") << QByteArray("(3,4)") << QByteArray("!,3");
        QTest::addRow("no numbers") << QByteArray("ABC") << QByteArray("!,!");
        QTest::addRow("malformed number kept") << QByteArray("1.5.2-3") << QByteArray("1.5.2-3,!");
        QTest::addRow("pound between") << "1" + kPound + "2" << QByteArray("1,2");
    }
    void topair() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(corvane::topair(bytes(input)), bytes(expected));
    }
};

QTEST_APPLESS_MAIN(TestNormalise)
#include "test_normalise.moc"
