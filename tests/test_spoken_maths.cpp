// SPDX-License-Identifier: GPL-3.0-or-later
// Maths read aloud as a teacher says it. Most rows are the answers and page texts of the sample
// tests (data/source).
#include "core/spoken_maths.h"

#include <QTest>

using namespace corvane;

class SpokenMathsTest : public QObject {
    Q_OBJECT
  private slots:
    void wording_data();
    void wording();
};

void SpokenMathsTest::wording_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("spoken");
    const auto row = [](const char* name, const char* text, const char* spoken) {
        QTest::addRow("%s", name) << QString::fromUtf8(text) << QString::fromUtf8(spoken);
    };
    // Money
    row("pounds and pence", "£2.35", "two pounds thirty-five");
    row("sample money answer", "Money: £1.45", "Money: one pound forty-five");
    row("pence", "70p", "seventy pence");
    row("sample pencil", "A pencil costs 35p. Ben pays with a £1 coin.",
        "A pencil costs thirty-five pence. Ben pays with a one pound coin.");
    row("pence under a pound written as pounds", "£0.65", "sixty-five pence");
    row("one penny", "1p", "one penny");
    row("whole pounds", "£20.00", "twenty pounds");
    row("pence below ten", "£3.05", "three pounds five");
    // Times
    row("time", "4:50", "four fifty");
    row("sample time answer", "Time: 3:45", "Time: three forty-five");
    row("minutes below ten", "The film starts at 4:05.", "The film starts at four oh five.");
    row("o'clock", "12:00", "twelve o'clock");
    // Remainders
    row("remainder", "7 r 3", "seven remainder three");
    row("sample pair answer", "like 4 r 1: that means 4 each",
        "like four remainder one: that means four each");
    row("remainder without spaces", "17r2", "seventeen remainder two");
    // Fractions
    row("three quarters", "3/4", "three quarters");
    row("sample fraction answers", "1/2 or 2/4 or 3/6", "one half or two quarters or three sixths");
    row("unnamed fraction", "5/12", "five over twelve");
    row("mixed number", "3 1/4", "three and a quarter");
    row("mixed number, more parts", "2 3/8", "two and three eighths");
    row("not mixed: two numbers", "2 5/4", "two five quarters");
    row("fraction sign", "2½", "two and a half");
    // Signs, powers and roots
    row("times sign", "6 × 7 = 42", "six times seven equals forty-two");
    row("x between numbers", "What is 3 x 415?", "What is three times four hundred and fifteen?");
    row("divided by", "20 ÷ 4", "twenty divided by four");
    row("minus between numbers", "10 - 3", "ten minus three");
    row("hyphen in words stays", "a two-digit number", "a two-digit number");
    row("squared", "5²", "five squared");
    row("cubed", "2³", "two cubed");
    row("square root", "√49", "the square root of forty-nine");
    row("per cent", "50%", "fifty per cent");
    row("units and signs of a typeset formula", "5 cm × 3 ≤ 20",
        "five centimetres times three is less than or equal to twenty");
    row("degrees and a unit", "90° and 2 kg", "ninety degrees and two kilograms");
    row("a lone letter m is a word", "I am 7 m tall", "I am seven metres tall");
    // Numbers
    row("thousands with a comma", "2,005", "two thousand and five");
    row("sample sum", "1,000 + 200 + 50 + 4", "one thousand plus two hundred plus fifty plus four");
    row("sample number answer", "1,254", "one thousand two hundred and fifty-four");
    row("sample order items", "35, 53, 305, 350",
        "thirty-five, fifty-three, three hundred and five, three hundred and fifty");
    row("hundreds and tens", "110", "one hundred and ten");
    row("a million", "1,000,000", "one million");
    row("decimal", "2.30", "two point three zero");
    row("ordinal left to the voice", "the 4th box", "the 4th box");
    row("very long digits read one by one", "12345678901234567890",
        "one two three four five six seven eight nine zero one two three four five six seven "
        "eight nine zero");
    row("words untouched, spaces collapsed", "Write  it in\nwords.", "Write it in words.");
}

void SpokenMathsTest::wording() {
    QFETCH(QString, text);
    QFETCH(QString, spoken);
    QCOMPARE(spokenMaths(text), spoken);
}

QTEST_APPLESS_MAIN(SpokenMathsTest)
#include "test_spoken_maths.moc"
