// SPDX-License-Identifier: GPL-3.0-or-later
// corvane-make's pages as the browser engine lays them out: each kind of overflow is named on
// its question's line, and the option letters of a choice stand over the pupil's tick boxes.
#include "platform/web_browser_view.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "support/fake_seams.h"
#include "support/test_files.h"
#include "tools/make/make_test.h"
#include "tools/make/page_fit.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace corvane::make;

namespace {

// A test of one question whose heading is on line 4 and whose lines follow it.
QByteArray oneQuestion(const QString& lines, const QString& front) {
    return QStringLiteral("# Test\n%1\n\n## The question\n%2\n").arg(front, lines).toUtf8();
}

} // namespace

class PageFitTest : public QObject {
    Q_OBJECT

    WebBrowserViews engine{QStringLiteral(CORVANE_WEBENGINE_PLUGIN)};
    QTemporaryDir dir;

    MakeResult made(const QByteArray& source) {
        static int count = 0;
        return makeTest({source, QStringLiteral("test.md"), dir.path(),
                         dir.filePath(QStringLiteral("lib%1").arg(++count)), false});
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        // A picture wider than the page.
        corvane::testing::writeFile(dir, "wide.svg",
                                    "<svg xmlns='http://www.w3.org/2000/svg' width='1500' "
                                    "height='180'><rect width='1500' height='180'/></svg>");
    }

    void overflowsNamed_data() {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QString>("front");
        QTest::addColumn<int>("line");
        const auto row = [](const char* name, const QString& lines, const QString& says,
                            const QString& front = "Front", int line = 4) {
            QTest::addRow("%s", name) << lines << says << front << line;
        };
        row("fits", "Look at it.\n\nMoney: 35p", "");
        row("long word", QString("A%1 word.\n\nWord: ten").arg(QString(70, 'x')),
            "a long word \"A");
        const QString table = "|" + QString(" 1234567 |").repeated(12) + "\n|" +
                              QString("---|").repeated(12) + "\n|" +
                              QString(" 7654321 |").repeated(12);
        row("table", table + "\n\nWord: ten", "a table in the text is");
        row("too many lines",
            QString("Ten words in a row make a line. ").repeated(60) + "\n\nWord: ten",
            "too many lines in the text");
        row("pictures", QString("![w](wide.svg) ").repeated(4) + "\n\nWord: ten",
            "the pictures in the text");
        QString items;
        for (int i = 1; i <= 5; ++i)
            items += QString("- %1 %2\n").arg(i).arg(QString("and so on ").repeated(12));
        row("options over the heading", items + "\nOrder: A B C D E", "the options reach");
        QString options;
        for (int i = 1; i <= 5; ++i)
            options += QString("- [%1] %2\n")
                           .arg(i == 1 ? 'x' : ' ')
                           .arg(QString("a long option ").repeated(8));
        row("five long options", options, "too many lines in the options");
        row("front page", "Word: ten", "front page does not fit its 791 × 526 view: too many",
            QString("Welcome to the test. ").repeated(90), 1);
    }
    void overflowsNamed() {
        QFETCH(QString, lines);
        QFETCH(QString, says);
        QFETCH(QString, front);
        QFETCH(int, line);
        const MakeResult test = made(oneQuestion(lines, front));
        QVERIFY2(test.errors.empty(), qPrintable(formatErrors("test.md", test.errors)));
        const SourceErrors errors = checkPagesFit(test, engine);
        if (says.isEmpty()) {
            QVERIFY2(errors.empty(), qPrintable(formatErrors("test.md", errors)));
            return;
        }
        QCOMPARE(errors.size(), 1u);
        QCOMPARE(errors.front().line, line);
        QVERIFY2(errors.front().message.contains(says) && !errors.front().fix.isEmpty(),
                 qPrintable(errors.front().message));
    }

    // A to E over the tick boxes A to E, however many options there are and whether they
    // stand on their cards or, too long for a card, are listed above.
    void lettersOverTheirBoxes_data() {
        QTest::addColumn<QString>("options");
        QTest::addRow("five short") << "- [ ] 1/4\n- [x] 1/2\n- [ ] 1/3\n- [ ] 2/3\n- [ ] 3/4";
        QTest::addRow("two short") << "- [ ] ![w](wide.svg)\n- [x] 1/2";
        QTest::addRow("listed") << "- [ ] a rectangle\n- [x] a square\n- [ ] a parallelogram";
    }
    void lettersOverTheirBoxes() {
        QFETCH(QString, options);
        const MakeResult test = made(oneQuestion(options, "Front"));
        QVERIFY2(test.errors.empty(), qPrintable(formatErrors("test.md", test.errors)));
        QVERIFY(checkPagesFit(test, engine).empty());
        const QString centres = engine.runOnPage(
            QUrl::fromLocalFile(test.pageFolder + "/question1.htm"), {791, 481},
            "JSON.stringify(Array.from(document.querySelectorAll('.choices .letter'), "
            "(l) => { const r = l.getBoundingClientRect(); return [r.left + r.width / 2, "
            "r.bottom]; }))");
        const QJsonArray letters = QJsonDocument::fromJson(centres.toUtf8()).array();
        QCOMPARE(letters.size(), options.count('\n') + 1);

        // The tick boxes as the pupil's window places them, in the page view's coordinates.
        testing::FakeDesktop desktop;
        desktop.display.size = {800, 600};
        TForm1 form(desktop.seams());
        const QWidget* view = form.Question->widget();
        for (qsizetype k = 0; k < letters.size(); ++k) {
            const ImageControl* box = form.AnswerBoxes[static_cast<std::size_t>(k)];
            const QPoint centre =
                box->mapTo(&form, box->rect().center()) - view->mapTo(&form, QPoint(0, 0));
            const QJsonArray letter = letters[k].toArray();
            QVERIFY2(std::abs(letter[0].toDouble() - (centre.x() + 0.5)) <= 2,
                     qPrintable(QString("letter %1 at %2, its box at %3")
                                    .arg(QChar(char16_t(u'A' + k)))
                                    .arg(letter[0].toDouble())
                                    .arg(centre.x())));
            QVERIFY(letter[1].toDouble() < view->height());
        }
    }
};

int main(int argc, char* argv[]) {
    WebBrowserViews::prepareEngine();
    QApplication app(argc, argv);
    registerFontSubstitutes();
    PageFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_page_fit.moc"
