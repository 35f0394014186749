// SPDX-License-Identifier: GPL-3.0-or-later
// The words of a question page in reading order, as a screen reader and the read-aloud say them.
#include "core/page_words.h"

#include <QFile>
#include <QTest>

using namespace corvane;

class PageWordsTest : public QObject {
    Q_OBJECT
  private slots:
    void phrases_data();
    void phrases();
    void samplePage();
};

void PageWordsTest::phrases_data() {
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QStringList>("words");
    QTest::addRow("heading then paragraph, spaces collapsed")
        << QByteArray("<html><head><title>T</title><style>p{}</style></head><body>"
                      "<h1>What is\n   3 x 4?</h1><p>Write <b>the</b> number.</p></body></html>")
        << QStringList{"What is 3 x 4?", "Write the number."};
    QTest::addRow("cards with letters and named pictures")
        << QByteArray("<div class=card><span>A</span><svg role=img aria-label='a balloon with 9'>"
                      "<text>9</text></svg></div><div><span>B</span><img alt='a cake' src=x.png>"
                      "</div>")
        << QStringList{"A a balloon with 9", "B a cake"};
    QTest::addRow("hidden, scripts and empty blocks say nothing")
        << QByteArray("<p hidden>FORTY</p><p aria-hidden=true>secret</p><script>x()</script>"
                      "<p> </p><ul><li>one</li><li>two<br>three</li></ul>")
        << QStringList{"one", "two", "three"};
    QTest::addRow("table cells and UTF-8") << QByteArray("<table><tr><td>£2.35</td><td>½</td></tr>"
                                                         "</table>")
                                           << QStringList{"£2.35", "½"};
    QTest::addRow("broken markup is read as far as it goes")
        << QByteArray("<h1>Half of <i>10</h1><p>is") << QStringList{"Half of 10", "is"};
    QTest::addRow("typeset maths by its spoken form, not its two renderings")
        << QByteArray("<p>Work out <span role=math aria-label='five squared'><math><msup><mn>5"
                      "</mn><mn>2</mn></msup></math><span aria-hidden=true>52</span></span>.</p>")
        << QStringList{"Work out five squared."};
    QTest::addRow("nothing") << QByteArray() << QStringList{};
}

void PageWordsTest::phrases() {
    QFETCH(QByteArray, html);
    QFETCH(QStringList, words);
    QCOMPARE(pageWords(html), words);
}

// A real sample page: the clock question reads its heading, the clock's name and the form line,
// not the clock face's twelve numbers.
void PageWordsTest::samplePage() {
    QFile page(QStringLiteral(CORVANE_SOURCE_DIR "/data/test/Money and Time/question2.htm"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    QCOMPARE(pageWords(page.readAll()),
             (QStringList{"Question 2", "What time does the clock show?", "a clock showing 3:45",
                          "Type the time with a colon, like 7:15."}));
}

QTEST_GUILESS_MAIN(PageWordsTest)
#include "test_page_words.moc"
