// SPDX-License-Identifier: GPL-3.0-or-later
// Maths in made tests: TeX read as plain maths, typeset by KaTeX into the pages with its style
// and fonts beside them, mistakes on their lines, GIFT's $$ maths, and the made page as the
// real engine shows it with scripts off.
#include "core/reader.h"
#include "core/tex_plain.h"
#include "platform/web_browser_view.h"
#include "tools/check/library_checks.h"
#include "tools/make/from_test.h"
#include "tools/make/gift_import.h"
#include "tools/make/make_test.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace corvane;
using namespace corvane::make;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

MakeResult makeInto(const QTemporaryDir& dir, const QByteArray& source) {
    return makeTest({source, QStringLiteral("maths.md"), dir.path(), dir.filePath("library")});
}

// The made page as the engine shows it in a pupil's view of 791 x 526 with scripts off, once
// its fonts have come in: two grabs in a row alike.
QImage shown(const QString& file) {
    QWebEngineProfile profile; // off the record
    QWebEngineView view;
    auto* page = new QWebEnginePage(&profile, &view);
    page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    view.setPage(page);
    view.resize(791, 526);
    view.show();
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    view.load(QUrl::fromLocalFile(file));
    if (!loaded.wait(60000) || !loaded.front().front().toBool()) return {};
    QImage last;
    for (int tries = 0; tries < 40; ++tries) {
        QTest::qWait(250);
        const QImage now = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (!last.isNull() && now == last && tries > 4) return now;
        last = now;
    }
    return last;
}

// The box around the dark ink (the page's text colour) of the front page's welcome text, which
// lies between the title and the note about starting.
QRect inkOfWelcome(const QImage& image) {
    QRect box;
    for (int y = 75; y < std::min(image.height(), 440); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 90) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestMaths : public QObject {
    Q_OBJECT

  private slots:
    void plainForm_data() {
        QTest::addColumn<QString>("tex");
        QTest::addColumn<QString>("plain");
        QTest::addRow("fraction") << "\\frac{3}{4}"
                                  << "3/4";
        QTest::addRow("fraction of single digits") << "\\frac34"
                                                   << "3/4";
        QTest::addRow("display fraction") << "\\dfrac{1}{2}"
                                          << "1/2";
        QTest::addRow("mixed number") << "3\\frac{1}{4}"
                                      << "3 1/4";
        QTest::addRow("mixed number spaced") << "2 \\frac{2}{3}"
                                             << "2 2/3";
        QTest::addRow("sum over a number") << "\\frac{x+1}{2}"
                                           << "(x+1)/2";
        QTest::addRow("square") << "5^2"
                                << "5²";
        QTest::addRow("power in braces") << "10^{3}"
                                         << "10³";
        QTest::addRow("negative power") << "10^{-2}"
                                        << "10⁻²";
        QTest::addRow("letter power") << "2^n"
                                      << "2^n";
        QTest::addRow("degrees") << "90^\\circ"
                                 << "90°";
        QTest::addRow("square root") << "\\sqrt{49}"
                                     << "√49";
        QTest::addRow("root of a sum") << "\\sqrt{9+16}"
                                       << "√(9+16)";
        QTest::addRow("cube root") << "\\sqrt[3]{8}"
                                   << "∛8";
        QTest::addRow("signs") << "3 \\times 4 \\div 2 \\le 6 \\neq 7"
                               << "3 × 4 ÷ 2 ≤ 6 ≠ 7";
        QTest::addRow("units") << "5\\,\\text{cm}"
                               << "5 cm";
        QTest::addRow("brackets") << "\\left(2+3\\right)^2"
                                  << "(2+3)²";
        QTest::addRow("percent") << "50\\%"
                                 << "50%";
    }
    void plainForm() {
        QFETCH(QString, tex);
        QFETCH(QString, plain);
        QCOMPARE(texAsPlain(tex), plain);
    }

    // Maths anywhere on a page is typeset: KaTeX's HTML and MathML, the spoken form as its
    // label, KaTeX's style linked, and not one $ left on any page.
    void madePagesHoldTypesetMaths_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("label");
        const QString question = QStringLiteral("# Maths\n\n## %1\n%2\n");
        QTest::addRow("fraction in the text")
            << question.arg("Halves", "Half of $\\frac{1}{2}$ of 10?\n\nNumber: 2.5")
            << "question1.htm"
            << "one half";
        QTest::addRow("power in the heading")
            << question.arg("What is $5^2$?", "Number: 25") << "question1.htm"
            << "five squared";
        QTest::addRow("root as an option")
            << question.arg("Which?", "- [x] $\\sqrt{49}$\n- [ ] 8") << "question1.htm"
            << "the square root of forty-nine";
        QTest::addRow("long options listed")
            << question.arg("Which?", "- [x] $\\frac{2}{4}$ is one half\n- [ ] $\\frac{2}{3}$ is")
            << "question1.htm"
            << "two quarters";
        QTest::addRow("mixed number on a line of its own")
            << question.arg("Which?", "$$3\\frac{1}{4} + \\frac{1}{2}$$\n\nAnswer: yes")
            << "question1.htm"
            << "three and a quarter plus one half";
        QTest::addRow("items to order")
            << question.arg("Order", "- $\\frac{1}{2}$\n- $\\frac{1}{4}$\n\nOrder: B, A")
            << "question1.htm"
            << "one quarter";
        QTest::addRow("units and signs on the front page")
            << "# Maths\nA line is $5\\,\\text{cm} \\times 3 \\le 20$ long.\n\n## Q\nAnswer: yes\n"
            << "front.htm"
            << "five centimetres times three is less than or equal to twenty";
    }
    void madePagesHoldTypesetMaths() {
        QFETCH(QString, source);
        QFETCH(QString, page);
        QFETCH(QString, label);
        QTemporaryDir dir;
        const MakeResult made = makeInto(dir, source.toUtf8());
        QVERIFY2(made.errors.empty(), qPrintable(formatErrors("maths.md", made.errors)));
        const QDir folder(made.pageFolder);
        const QString html = QString::fromUtf8(readAll(folder.filePath(page)));
        QVERIFY2(html.contains("class=\"katex\"") && html.contains("<math"), qPrintable(html));
        QVERIFY2(html.contains(QStringLiteral("role=\"math\" aria-label=\"%1\"").arg(label)),
                 qPrintable(html));
        QVERIFY(html.contains("<link rel=\"stylesheet\" href=\"katex/katex.css\">"));
        for (const QString& name : folder.entryList({"*.htm"}))
            QVERIFY2(!readAll(folder.filePath(name)).contains('$'), qPrintable(name));
        // Every font the style sheet names lies in the test's own folder.
        const QString css = QString::fromUtf8(readAll(folder.filePath("katex/katex.css")));
        const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
        int fonts = 0;
        for (const QRegularExpressionMatch& m : url.globalMatch(css)) {
            ++fonts;
            QVERIFY2(QFileInfo(folder.filePath("katex/" + m.captured(1))).isFile(),
                     qPrintable(m.captured(1)));
        }
        QVERIFY(fonts >= 10);
    }

    // The buttons of a labelled order show plain text: maths in its plain form, in the test
    // file's Latin-1 (² is the byte 0xB2); a form too long for a button is an error as usual.
    void labelledOrderLabelsArePlain() {
        QTemporaryDir dir;
        const MakeResult made = makeInto(
            dir, "# Maths\n\n## Biggest first\n- $3^2$\n- $5^2$\n\nLabelled order: B, A\n");
        QVERIFY2(made.errors.empty(), qPrintable(formatErrors("maths.md", made.errors)));
        QuestionStore store;
        readTestFile(check::nativePath(made.testFile), store);
        QCOMPARE(store.optionLabel[1][1], Text("3\xB2"));
        QCOMPARE(store.optionLabel[1][2], Text("5\xB2"));
        const MakeResult tooLong = makeInto(
            dir, "# Maths\n\n## Biggest first\n- $\\frac{1}{2}$\n- 1\n\nLabelled order: B, A\n");
        QCOMPARE(tooLong.errors.size(), std::size_t(1));
        QVERIFY(tooLong.errors.front().message.contains("too long for the buttons"));
    }

    // Dollars of money are not maths, and a test without maths gets no KaTeX files.
    void moneyIsNotMaths_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addRow("two prices") << "It costs $3 and $4."
                                    << "It costs $3 and $4.";
        QTest::addRow("digit after") << "From $3 to $4 and $5"
                                     << "From $3 to $4 and $5";
        QTest::addRow("escaped") << "It costs \\$3, \\$4."
                                 << "It costs $3, $4.";
        QTest::addRow("pounds") << "It costs £3."
                                << "It costs £3.";
    }
    void moneyIsNotMaths() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        const MakeResult made =
            makeInto(dir, ("# Money\n" + text + "\n\n## Q\nNumber: 12\n").toUtf8());
        QVERIFY2(made.errors.empty(), qPrintable(formatErrors("maths.md", made.errors)));
        const QString front =
            QString::fromUtf8(readAll(QDir(made.pageFolder).filePath("front.htm")));
        QVERIFY2(front.contains("<p>" + shown + "</p>"), qPrintable(front));
        QVERIFY(!QFileInfo::exists(QDir(made.pageFolder).filePath("katex")));
    }

    // A formula KaTeX cannot read is an error on its own line with KaTeX's reason, and
    // nothing is written.
    void badFormulaIsAnErrorOnItsLine_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("reason");
        QTest::addRow("brace left open in the text")
            << "# Maths\n\n## Q\nFirst line.\nHalf of $\\frac{1}{2$ of 10?\n\nNumber: 25\n"
            << 5 << "expected '}'";
        QTest::addRow("unknown command in an option")
            << "# Maths\n\n## Q\n- [ ] 1\n- [x] $\\fraction{1}{2}$\n"
            << 5 << "Undefined control sequence: \\fraction";
        QTest::addRow("in the heading") << "# Maths\n\n## What is $5^$?\nNumber: 25\n"
                                        << 3 << "Expected group after '^'";
        QTest::addRow("on the front page")
            << "# Maths\nWelcome.\n\n$$\\sqrt{$$\n\n## Q\nNumber: 25\n"
            << 4 << "";
    }
    void badFormulaIsAnErrorOnItsLine() {
        QFETCH(QString, source);
        QFETCH(int, line);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const MakeResult made = makeInto(dir, source.toUtf8());
        QCOMPARE(made.errors.size(), std::size_t(1));
        const SourceError& error = made.errors.front();
        QCOMPARE(error.line, line);
        QVERIFY2(error.message.contains("cannot be typeset") && error.message.contains(reason),
                 qPrintable(error.message));
        QVERIFY(!error.message.contains("KaTeX parse error"));
        QVERIFY(!QFileInfo::exists(dir.filePath("library")));
    }

    // A source written from a made test gives the heading's and options' maths back as TeX,
    // and the page text, kept as HTML, shows typeset again when the source is made.
    void sourceFromMadeTestKeepsMaths() {
        QTemporaryDir dir;
        const MakeResult made =
            makeInto(dir, "# Maths\n\n## What is $5^2$ as $\\frac{a_1}{2}$?\n"
                          "Look: $$\\sqrt{49}$$\n\n- [x] $\\frac{2}{4}$\n- [ ] 3\n");
        QVERIFY2(made.errors.empty(), qPrintable(formatErrors("maths.md", made.errors)));
        const QString source =
            QString::fromUtf8(sourceFromTest(check::nativePath(made.testFile)).source);
        QVERIFY2(source.contains("## What is $5^2$ as $\\frac{a_1}{2}$?\n") &&
                     source.contains("- [x] $\\frac{2}{4}$\n"),
                 qPrintable(source));
        QTemporaryDir again;
        const MakeResult remade = makeInto(again, source.toUtf8());
        QVERIFY2(remade.errors.empty(), qPrintable(formatErrors("maths.md", remade.errors)));
        const QByteArray page = readAll(QDir(remade.pageFolder).filePath("question1.htm"));
        QVERIFY(page.contains("aria-label=\"the square root of forty-nine\"") &&
                page.contains("href=\"katex/katex.css\""));
        QVERIFY(QFileInfo(QDir(remade.pageFolder).filePath("katex/katex.css")).isFile());
    }

    // GIFT's $$ maths, its braces escaped as GIFT needs, comes out typeset.
    void giftMathsTypeset() {
        const GiftImport gift = importGift("::Q1:: Half of $$\\frac\\{1\\}\\{2\\}$$ of 10?{#5}\n\n"
                                           "::Q2:: Which is $$\\sqrt\\{49\\}$$?{=7 ~$$7^2$$}\n",
                                           "Gift Maths");
        QVERIFY(gift.leftOut.empty());
        QTemporaryDir dir;
        const MakeResult made = makeInto(dir, QByteArray::fromStdString(gift.source));
        QVERIFY2(made.errors.empty(), qPrintable(formatErrors("maths.md", made.errors)));
        const QByteArray first = readAll(QDir(made.pageFolder).filePath("question1.htm"));
        const QByteArray second = readAll(QDir(made.pageFolder).filePath("question2.htm"));
        QVERIFY2(first.contains("class=\"katex\"") && first.contains("aria-label=\"one half\""),
                 first);
        QVERIFY2(second.contains("aria-label=\"the square root of forty-nine\"") &&
                     second.contains("aria-label=\"seven squared\""),
                 second);
        QVERIFY(!first.contains('$') && !second.contains('$'));
    }

    // The made page in the real engine, scripts off: a fraction, a power and a root drawn as
    // KaTeX's style lays them out, the fraction taller than a line of digits. Without the style
    // the engine would show the TeX and KaTeX's parts in a long line.
    void typesetInTheEngine() {
        QTemporaryDir dir;
        const MakeResult made =
            makeInto(dir, "# Maths\n$\\frac{1}{2}$ $5^2$ $\\sqrt{49}$\n\n## Q\nNumber: 25\n");
        QVERIFY2(made.errors.empty(), qPrintable(formatErrors("maths.md", made.errors)));
        const QString front = QDir(made.pageFolder).filePath("front.htm");
        const QImage typeset = shown(front);
        QVERIFY(!typeset.isNull());
        if (!qEnvironmentVariableIsEmpty("CORVANE_MATHS_SHOT"))
            typeset.save(qEnvironmentVariable("CORVANE_MATHS_SHOT"));
        QVERIFY(QDir(QDir(made.pageFolder).filePath("katex")).removeRecursively());
        const QImage withoutStyle = shown(front);
        const QRect ink = inkOfWelcome(typeset);
        const QRect raw = inkOfWelcome(withoutStyle);
        const QString sizes = QStringLiteral("typeset %1 x %2, without KaTeX's style %3 x %4")
                                  .arg(ink.width())
                                  .arg(ink.height())
                                  .arg(raw.width())
                                  .arg(raw.height());
        QVERIFY2(ink.height() >= 30 && ink.width() * 3 < raw.width(), qPrintable(sizes));
    }
};

int main(int argc, char* argv[]) {
    WebBrowserViews::prepareEngine();
    QApplication app(argc, argv);
    TestMaths test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_maths.moc"
