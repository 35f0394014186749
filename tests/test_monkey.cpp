// SPDX-License-Identifier: GPL-3.0-or-later
// A long seeded stream of random real input on whole windows over random test libraries, with
// the window's promises checked after every event (see support/monkey_driver.h).
// MONKEY_SEED and MONKEY_EVENTS choose the run; a failure prints the seed and the last events.
#include "pupil/file_list_box.h"
#include "pupil/fonts.h"
#include "support/monkey_driver.h"
#include "support/test_files.h"

#include <QLineEdit>
#include <QtTest>

namespace {

constexpr std::uint64_t kDefaultSeed = 20240611;
constexpr long kDefaultEvents = 120000;

QtMessageHandler previousHandler = nullptr;

// QTest warns about every event that a disabled control does not take; the monkey sends many.
void quietRefusedEvents(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains("not accepted by receiving widget")) return;
    previousHandler(type, context, text);
}

template <typename T> T fromEnvironment(const char* name, T fallback) {
    bool ok = false;
    const qulonglong value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? static_cast<T>(value) : fallback;
}

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        corvane::registerFontSubstitutes();
        previousHandler = qInstallMessageHandler(quietRefusedEvents);
    }

    void randomEvents() {
        const auto seed = fromEnvironment<std::uint64_t>("MONKEY_SEED", kDefaultSeed);
        const long events = fromEnvironment<long>("MONKEY_EVENTS", kDefaultEvents);
        qInfo("MONKEY_SEED=%llu MONKEY_EVENTS=%ld", static_cast<unsigned long long>(seed), events);
        corvane::testing::Monkey monkey(seed);
        const QString broken = monkey.run(events);
        for (auto count = monkey.counts.cbegin(); count != monkey.counts.cend(); ++count)
            qInfo("  %s: %ld", qPrintable(count.key()), count.value());
        if (!broken.isEmpty()) fprintf(stderr, "%s", qPrintable(broken));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.section('\n', 0, 0)));
        // A monkey that never gets past the start screen proves nothing.
        if (events >= kDefaultEvents) {
            QVERIFY(monkey.counts.value("results shown") > 0);
            QVERIFY(monkey.counts.value("reviews") > 0);
        }
    }

    // Found by the monkey: a file that claims 31 questions fails to load at question 31 but
    // keeps its count, and Next at question 30 or the last-question image then went to
    // question 31, which the store does not hold. The moves stop at question 30.
    void countAbove30StopsAtQuestion30() {
        QTemporaryDir dir;
        QStringList lines{"31"};
        for (int q = 1; q <= 31; ++q)
            lines << "KWORD"
                  << "comment"
                  << "0"
                  << "0"
                  << "0"
                  << "0"
                  << "0"
                  << "0"
                  << "CAT"
                  << "---";
        corvane::testing::writeFile(dir, "test/Long.txt", corvane::testing::crlfLines(lines));
        corvane::testing::FakeDesktop desktop;
        desktop.display.size = {800, 600};
        desktop.programFolder.folder = QFile::encodeName(dir.path()).toStdString();
        corvane::TForm1 form(desktop.seams());
        form.guarded([&] { form.FormActivate(&form); });
        QTest::mousePress(form.FileList->viewport(), Qt::LeftButton, {},
                          form.FileList->visualItemRect(form.FileList->item(0)).center());
        QCOMPARE(desktop.dialogs.texts("error"), QStringList{"Range check error."});
        QCOMPARE(form.store.questionCount, 31);

        QTest::keyClicks(form.EStartName, "Ann");
        QTest::keyClick(&form, Qt::Key_Return);
        QTest::keyClick(&form, Qt::Key_Return);
        QCOMPARE(form.currentQuestion, 1);
        QTest::mousePress(form.IFF, Qt::LeftButton);
        QCOMPARE(form.currentQuestion, 30);
        QTest::keyClick(&form, Qt::Key_Return);
        QCOMPARE(form.currentQuestion, 30);
        QTest::mousePress(form.INext, Qt::LeftButton);
        QCOMPARE(form.currentQuestion, 30);
        QCOMPARE(desktop.dialogs.texts("error").size(), 1);
        QCOMPARE(desktop.browsers.lastUrl("Question"),
                 "file://" + desktop.programFolder.folder + "/test/Long/question30.htm");
    }
};

QTEST_MAIN(MonkeyTest)
#include "test_monkey.moc"
