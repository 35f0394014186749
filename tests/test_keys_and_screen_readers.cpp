// SPDX-License-Identifier: GPL-3.0-or-later
// A pupil with only the keyboard, or with a screen reader: the whole road from the name to the
// score by keys, what each screen tells a screen reader, the focus ring, the page zoom and the
// browser engine's accessibility switch.
#include "platform/web_browser_view.h"
#include "pupil/file_list_box.h"
#include "pupil/focus_ring.h"
#include "pupil/fonts.h"
#include "pupil/form.h"
#include "pupil/screen_fit.h"
#include "pupil/screen_reader_text.h"
#include "support/fake_seams.h"
#include "support/test_files.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <cmath>
#include <sys/stat.h>

using namespace corvane;
using namespace corvane::testing;

namespace {

// One question block of a test file: type, option count, the five key lines, the answer.
QStringList block(const QString& type, int options, const QList<int>& key, const QString& answer) {
    QStringList lines{type, "comment", QString::number(options)};
    for (int k : key)
        lines << QString::number(k);
    return lines << answer << "----------";
}

// A test with one question of each answer panel: single choice (C right), multiple choice
// (A and C), yes/no (No), order (B A C) and a typed word (cat).
QByteArray everyPanel() {
    QStringList lines{"5"};
    lines << block("KSINGLECHOICE", 3, {0, 0, 1, 0, 0}, "")
          << block("KMULTICHOICE", 4, {1, 0, 1, 0, 0}, "")
          << block("KYESNO", 2, {0, 1, 0, 0, 0}, "") << block("KORDER", 3, {2, 1, 3, 0, 0}, "")
          << block("KWORD", 0, {0, 0, 0, 0, 0}, "cat");
    return crlfLines(lines);
}

QByteArray oneWord() {
    return crlfLines(QStringList{"1"} << block("KWORD", 0, {0, 0, 0, 0, 0}, "dog"));
}

double luminance(QColor colour) {
    auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(QColor a, QColor b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

class KeysAndScreenReadersTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<FakeDesktop> desktop;
    std::unique_ptr<TForm1> form;
    QWidget* focused() { return QApplication::focusWidget(); }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = focused();
        QVERIFY2(target, "nothing has the focus");
        QTest::keyClick(target, key, modifiers);
        QCoreApplication::processEvents(); // the screen's focus is settled after the handler
    }

    // Tabs forward until `control` has the focus, as the pupil would; fails after 40 presses.
    void tabTo(QWidget* control) {
        for (int presses = 0; presses < 40 && focused() != control; ++presses)
            key(Qt::Key_Tab);
        QCOMPARE(focused(), control);
    }

    std::array<std::int32_t, 5> marks(int q) const {
        std::array<std::int32_t, 5> row{};
        for (int k = 1; k <= 5; ++k)
            row[std::size_t(k - 1)] = form->store.userMarks[q][k];
        return row;
    }

    QAccessibleInterface* accessible(QObject* object) {
        return QAccessible::queryAccessibleInterface(object);
    }

    // Every control showing in the window takes part: a role, a name and an action to work it.
    void everyShowingControlIsNamed(const char* screen) {
        int controls = 0;
        for (QWidget* widget : form->findChildren<QWidget*>()) {
            if (!widget->isVisible()) continue;
            auto* image = qobject_cast<ImageControl*>(widget);
            const bool control = (image && image->answersPress()) ||
                                 qobject_cast<QLineEdit*>(widget) ||
                                 qobject_cast<QListWidget*>(widget);
            if (!control) continue;
            ++controls;
            QAccessibleInterface* face = accessible(widget);
            const QString what = QString("%1: %2").arg(screen, widget->objectName());
            QVERIFY2(face, qPrintable(what));
            QVERIFY2(face->role() != QAccessible::NoRole && face->role() != QAccessible::Client,
                     qPrintable(what));
            QVERIFY2(!face->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(what));
            // A list is worked through its entries.
            QAccessibleInterface* worked =
                face->role() == QAccessible::List && face->childCount() ? face->child(0) : face;
            QVERIFY2(worked->actionInterface() &&
                         !worked->actionInterface()->actionNames().isEmpty(),
                     qPrintable(what));
        }
        QVERIFY2(controls >= 3, screen);
    }

    void startOn(const QString& test) {
        QTest::keyClicks(form->EStartName, "Ann");
        form->FileList->setFocus();
        const QList<QListWidgetItem*> found = form->FileList->findItems(test, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTest::mousePress(form->FileList->viewport(), Qt::LeftButton, {},
                          form->FileList->visualItemRect(found.front()).center());
        QTest::keyClick(form->EStartName, Qt::Key_Return);
        QTest::keyClick(form.get(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(form->currentQuestion, 1);
    }

  private slots:
    void initTestCase() {
        registerFontSubstitutes();
        writeFile(dir, "test/Every Panel.txt", everyPanel());
        writeFile(dir, "test/One Word.txt", oneWord());
    }

    void init() {
        desktop = std::make_unique<FakeDesktop>();
        desktop->display.size = {800, 600};
        desktop->programFolder.folder = QFile::encodeName(dir.path()).toStdString();
        form = std::make_unique<TForm1>(desktop->seams());
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCoreApplication::processEvents();
    }
    void cleanup() {
        form.reset();
        desktop.reset();
    }

    // From the name to the score with keys alone, one question of every panel, and the
    // results screen giving the focus to the score.
    void wholeTestByKeys() {
        QCOMPARE(focused(), form->EStartName);
        QTest::keyClicks(focused(), "Ann");
        key(Qt::Key_Tab);
        QCOMPARE(focused(), form->FileList);
        key(Qt::Key_Down);
        QCOMPARE(form->testName, Text("Every Panel"));
        key(Qt::Key_Tab);
        QCOMPARE(focused(), form->IStartOk);
        key(Qt::Key_Space);
        QCOMPARE(form->currentQuestion, 0);
        key(Qt::Key_Return);
        QCOMPARE(form->currentQuestion, 1);

        // Single choice: the letter, then Space on C's box.
        key(Qt::Key_B);
        tabTo(form->AnswerBoxes[2]);
        key(Qt::Key_Space);
        QCOMPARE(marks(1), (std::array<std::int32_t, 5>{0, 0, 1, 0, 0}));
        QCOMPARE(focused(), form->AnswerBoxes[2]); // the redrawn panel keeps the focus
        key(Qt::Key_Return);
        // Multiple choice.
        key(Qt::Key_A);
        key(Qt::Key_C);
        QCOMPARE(marks(2), (std::array<std::int32_t, 5>{1, 0, 1, 0, 0}));
        key(Qt::Key_Return);
        // Yes or no: Y then N leaves No.
        key(Qt::Key_Y);
        key(Qt::Key_N);
        QCOMPARE(marks(3), (std::array<std::int32_t, 5>{0, 1, 0, 0, 0}));
        QVERIFY(form->NoSelect->isChecked());
        key(Qt::Key_Return);
        // Order: C A, Backspace clears, then B A and Space on C's place.
        key(Qt::Key_C);
        key(Qt::Key_A);
        QCOMPARE(marks(4), (std::array<std::int32_t, 5>{3, 1, 0, 0, 0}));
        key(Qt::Key_Backspace);
        QCOMPARE(marks(4), (std::array<std::int32_t, 5>{0, 0, 0, 0, 0}));
        key(Qt::Key_B);
        key(Qt::Key_A);
        tabTo(form->OrderPlaces[2]);
        key(Qt::Key_Space);
        QCOMPARE(marks(4), (std::array<std::int32_t, 5>{2, 1, 3, 0, 0}));
        QCOMPARE(focused(), form->OrderPlaces[2]);
        QCOMPARE(accessible(form->Order)->text(QAccessible::Name), QString("B A C"));
        key(Qt::Key_Return);
        // Typed word: the letters and Backspace go into the box.
        QCOMPARE(focused(), form->singleenter);
        QTest::keyClicks(focused(), "caty");
        key(Qt::Key_Backspace);
        QCOMPARE(form->store.userText[5], Text("cat"));

        tabTo(form->IFinish);
        key(Qt::Key_Return); // Enter still goes on, as Next does, wherever the focus is
        QVERIFY(form->QuestionPanel->isVisible());
        QCOMPARE(form->currentQuestion, 5);
        tabTo(form->IFinish);
        key(Qt::Key_Space);
        QVERIFY(form->ResultPanel->isVisible());
        QCOMPARE(form->score, 5);
        QCOMPARE(focused(), form->Iscore);
        QVERIFY(accessible(form->Iscore)->text(QAccessible::Name).startsWith("Score: 5 out of"));
        QVERIFY(accessible(form->Iscore)->state().focused);

        // Enter presses the focused button here; the password is typed hidden.
        tabTo(form->IReview);
        key(Qt::Key_Return);
        QCOMPARE(desktop->dialogs.shown.back().kind, QString("input"));
        QVERIFY(desktop->dialogs.shown.back().hidden);
    }

    // The fault: the test loaded by a press stayed loaded while the keys highlighted another.
    void theArrowedTestStarts() {
        startOn("One Word.txt");
        desktop->dialogs.yesAnswers = {true};
        form->IReset->setFocus();
        key(Qt::Key_Space);
        QCOMPARE(form->currentQuestion, -1);
        form->FileList->setFocus();
        key(Qt::Key_Up);
        QCOMPARE(form->FileList->currentItem()->text(), QString("Every Panel.txt"));
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        QCOMPARE(form->testName, Text("Every Panel"));
        QCOMPARE(form->store.questionCount, 5);
        QVERIFY(desktop->browsers.lastUrl("Question").ends_with("/test/Every Panel/question1.htm"));
    }

    // Tabbing into the list loads nothing: no entry is highlighted until the keys move.
    void tabbingIntoTheListLoadsNothing() {
        key(Qt::Key_Tab);
        QCOMPARE(focused(), form->FileList);
        QVERIFY(form->FileList->currentItem() == nullptr);
        QCOMPARE(form->store.questionCount, 0);
    }

    void screensSpeak() {
        everyShowingControlIsNamed("start");
        startOn("Every Panel.txt");
        QCOMPARE(accessible(form->Questionno)->text(QAccessible::Name), QString("Question 1/5"));
        QCOMPARE(accessible(form->Questionno)->role(), QAccessible::StaticText);
        QCOMPARE(accessible(form->Question->widget())->text(QAccessible::Name),
                 QString("Question 1/5"));
        for (int q = 1; q <= 5; ++q) {
            form->currentQuestion = q;
            form->drawquestion();
            everyShowingControlIsNamed(qPrintable(QString("question %1").arg(q)));
        }
        QCOMPARE(accessible(form->AnswerBoxes[0])->text(QAccessible::Name), QString("Option A"));
        QCOMPARE(accessible(form->OrderPlaces[1])->text(QAccessible::Name), QString("Item B"));
        QCOMPARE(accessible(form->INext)->text(QAccessible::Description), form->INext->toolTip());
        desktop->dialogs.yesAnswers = {true}; // finish the incomplete test
        form->IFinishClick(form->IFinish);
        QVERIFY(form->ResultPanel->isVisible());
        everyShowingControlIsNamed("results");
        QCOMPARE(accessible(form->Ichildname)->text(QAccessible::Name),
                 QString("Test Result for :Ann"));
    }

    // Ticking C by the screen reader's action changes C's checked state; a key unticks it.
    // (The events a screen reader hears need the desktop's accessibility bus: they are checked
    // in the real window.)
    void tickBoxesTellTheirState() {
        startOn("Every Panel.txt");
        QAccessibleInterface* boxC = accessible(form->AnswerBoxes[2]);
        QCOMPARE(boxC->role(), QAccessible::CheckBox);
        QVERIFY(boxC->state().checkable && !boxC->state().checked);
        QCOMPARE(boxC->actionInterface()->actionNames().front(),
                 QAccessibleActionInterface::toggleAction());
        boxC->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(boxC->state().checked);
        QCOMPARE(form->store.userMarks[1][3], 1);
        key(Qt::Key_A);
        QVERIFY(!boxC->state().checked);
        QVERIFY(accessible(form->AnswerBoxes[0])->state().checked);
    }

    // The ring round the focused control stands out at 3:1 at least, two pixels wide; the
    // focused entry of the list gets one too. A mouse press hides it.
    void focusRingIsSeen_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("Start image") << QString("IStartOk");
        QTest::newRow("list entry") << QString("FileList");
    }
    void focusRingIsSeen() {
        QFETCH(QString, control);
        auto* ring = form->findChild<FocusRing*>();
        QVERIFY(ring && !ring->isVisible());
        key(Qt::Key_Tab);
        if (control == "FileList")
            key(Qt::Key_Down);
        else
            key(Qt::Key_Tab);
        QCOMPARE(focused()->objectName(), control);
        QVERIFY(ring->isVisible());
        const QImage shot = form->grab().toImage();
        const QRect area = ring->geometry();
        const int y = area.center().y();
        // Across the left edge: outside, the two ring pixels, the pixel inside.
        const QColor outside = shot.pixelColor(area.left() - 1, y);
        const QColor inside = shot.pixelColor(area.left() + FocusRing::kWidth, y);
        for (int x = area.left(); x < area.left() + FocusRing::kWidth; ++x) {
            const QColor ring = shot.pixelColor(x, y);
            QVERIFY2(contrast(ring, outside) >= 3.0, qPrintable(outside.name()));
            QVERIFY2(contrast(ring, inside) >= 3.0, qPrintable(inside.name()));
        }
        QTest::mousePress(form->StartTest, Qt::LeftButton);
        QVERIFY(!ring->isVisible());
    }

    // Ctrl with plus, minus and 0 zoom both pages, within 50 and 300 per cent.
    void zoomKeys_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<double>("zoom");
        QTest::newRow("plus twice") << QList<int>{Qt::Key_Plus, Qt::Key_Plus} << 1.2;
        QTest::newRow("equals sign") << QList<int>{Qt::Key_Equal} << 1.1;
        QTest::newRow("minus down to 50") << QList<int>(8, Qt::Key_Minus) << 0.5;
        QTest::newRow("plus up to 300") << QList<int>(30, Qt::Key_Plus) << 3.0;
        QTest::newRow("0 again") << QList<int>{Qt::Key_Plus, Qt::Key_0} << 1.0;
    }
    void zoomKeys() {
        QFETCH(QList<int>, keys);
        QFETCH(double, zoom);
        startOn("Every Panel.txt");
        for (int pressed : keys)
            key(Qt::Key(pressed), Qt::ControlModifier);
        QCOMPARE(desktop->browsers.zooms["Question"], zoom);
        QCOMPARE(desktop->browsers.zooms["Front"], zoom);
        QCOMPARE(form->currentQuestion, 1);
    }

    // A free area too small for the window with its title bar gets it in a scrolling frame of
    // that size, where the keys still work; a large one shows the window itself.
    void smallScreensScroll_data() {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<bool>("framed");
        QTest::newRow("1366 x 768") << QSize(1366, 768) << false;
        QTest::newRow("800 x 600, the mode the program offers") << QSize(800, 600) << false;
        QTest::newRow("scaled by 1.5: 910 x 512") << QSize(910, 512) << true;
        QTest::newRow("640 x 480") << QSize(640, 480) << true;
    }
    void smallScreensScroll() {
        QFETCH(QSize, area);
        QFETCH(bool, framed);
        form->hide();
        std::unique_ptr<QWidget> frame = fitToScreen(*form, QRect(QPoint(0, 0), area));
        QCOMPARE(bool(frame), framed);
        if (!frame) return;
        frame->show();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QVERIFY(frame->width() <= area.width() && frame->height() <= area.height());
        QCOMPARE(form->window(), frame.get());
        // The frame is no Tab stop, and it scrolls to the control that takes the focus.
        QVERIFY(focused() != frame.get());
        auto* area_ = static_cast<QScrollArea*>(frame.get());
        QCOMPARE(area_->verticalScrollBar()->value(), 0);
        form->FileList->setFocus();
        QVERIFY(area_->verticalScrollBar()->value() > 0);
        for (int presses = 0; presses < 8; ++presses) {
            key(Qt::Key_Tab);
            QVERIFY(focused() != frame.get());
        }
        form->EStartName->setFocus();
        key(Qt::Key_Return);
        QCOMPARE(desktop->dialogs.texts("message"), QStringList{"Please enter your name"});
        frame.reset();
        QVERIFY(form->isWindow());
    }

    // A key press re-posted by the screen readers' bridge is no longer spontaneous: it still
    // counts, once.
    void repostedKeyCountsOnce_data() {
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("question");
        QTest::addColumn<int>("ticked");
        QTest::newRow("Enter goes on") << int(Qt::Key_Return) << "\r" << 2 << 0;
        QTest::newRow("C ticks C") << int(Qt::Key_C) << "c" << 1 << 3;
    }
    void repostedKeyCountsOnce() {
        QFETCH(int, keyCode);
        QFETCH(QString, text);
        QFETCH(int, question);
        QFETCH(int, ticked);
        startOn("Every Panel.txt");
        QWidget* target = focused();
        QVERIFY(target);
        QKeyEvent reposted(QEvent::KeyPress, keyCode, Qt::NoModifier, text);
        QVERIFY(!reposted.spontaneous());
        QCoreApplication::sendEvent(target, &reposted);
        QCOMPARE(form->currentQuestion, question);
        for (int k = 1; k <= 5; ++k)
            QCOMPARE(form->store.userMarks[1][k], k == ticked ? 1 : 0);
    }

    // What the page's words object says: the caption, then the page in sentences; in review,
    // the verdict after them.
    void spokenPageIsCaptionThenSentences_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QString>("said");
        QTest::newRow("heading and options")
            << "Question 3 of 10" << QByteArray("<h1>How many?</h1><p>A 3</p><p>B 4</p>")
            << "Question 3 of 10. How many? A 3. B 4.";
        QTest::newRow("no caption, a picture")
            << QString() << QByteArray("<p>Count them:</p><img alt=\"5 dots\">")
            << "Count them: 5 dots.";
        QTest::newRow("an empty page") << "Question 1 of 1" << QByteArray() << "Question 1 of 1.";
    }
    void spokenPageIsCaptionThenSentences() {
        QFETCH(QString, caption);
        QFETCH(QByteArray, html);
        QFETCH(QString, said);
        QCOMPARE(spokenPage(caption, html), said);
    }

    // A page file is read only when it is a plain file of a sane size: a FIFO in its place
    // must not hold the window.
    void pageFileBytesReadsOnlyPlainFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("read");
        QTest::newRow("plain file") << "plain" << true;
        QTest::newRow("missing") << "missing" << false;
        QTest::newRow("FIFO") << "fifo" << false;
        QTest::newRow("folder") << "folder" << false;
        QTest::newRow("over 4 MiB") << "huge" << false;
    }
    void pageFileBytesReadsOnlyPlainFiles() {
        QFETCH(QString, kind);
        QFETCH(bool, read);
        QTemporaryDir here;
        const QByteArray path = QFile::encodeName(here.filePath("page.htm"));
        if (kind == "plain") writeFile(here, "page.htm", "<p>Hi</p>");
        if (kind == "fifo") QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        if (kind == "folder") QVERIFY(QDir(here.path()).mkdir("page.htm"));
        if (kind == "huge") {
            QFile big(QFile::decodeName(path));
            QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(4 * 1024 * 1024 + 1));
        }
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(pageFileBytes(path.toStdString()), read ? QByteArray("<p>Hi</p>") : QByteArray());
        QVERIFY(clock.elapsed() < 1000);
    }

    // The verdict boxes hold the right answers all along; out of sight they say nothing, and in
    // review the question's words end with the verdict.
    void rightAnswersSayNothingUntilReview() {
        startOn("Every Panel.txt");
        const QList<ImageControl*> verdicts = {form->CorrectSingle, form->CorrMult,
                                               form->YesNoCorrect, form->OrderCorrect};
        for (int review : {0, 1}) {
            form->reviewMode = std::uint8_t(review);
            for (int q = 1; q <= 5; ++q) {
                form->currentQuestion = q;
                form->drawquestion();
                const QString what = QString("review %1, question %2").arg(review).arg(q);
                QString held, told;
                for (ImageControl* box : verdicts) {
                    held += box->shownText();
                    told += accessible(box)->text(QAccessible::Name);
                    QCOMPARE(accessible(box)->state().invisible, !box->isVisible());
                }
                QVERIFY2(!held.isEmpty(), qPrintable(what));
                QVERIFY2(told.isEmpty() == (review == 0), qPrintable(what + ": " + told));
                const QString words = accessible(form->QuestionWords)->text(QAccessible::Name);
                QVERIFY2(words.startsWith(QString("Question %1 of 5.").arg(q)), qPrintable(words));
                QCOMPARE(words.contains("Marked"), review == 1);
            }
        }
    }

    // With no test highlighted, End picks the last one and Home the first.
    void endAndHomeInTheListWithNoneCurrent_data() {
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<QString>("picked");
        QTest::newRow("End") << int(Qt::Key_End) << "One Word.txt";
        QTest::newRow("Home") << int(Qt::Key_Home) << "Every Panel.txt";
    }
    void endAndHomeInTheListWithNoneCurrent() {
        QFETCH(int, keyCode);
        QFETCH(QString, picked);
        tabTo(form->FileList);
        QVERIFY(form->FileList->currentItem() == nullptr);
        key(Qt::Key(keyCode));
        QVERIFY(form->FileList->currentItem());
        QCOMPARE(form->FileList->currentItem()->text(), picked);
    }

    // The engine's own tree stays off (the window speaks the page's words itself) unless the
    // user chose otherwise.
    void engineAccessibilityIsTheUsers_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("unset stays unset") << QByteArray() << QByteArray();
        QTest::newRow("the user's 0") << QByteArray("0") << QByteArray("0");
        QTest::newRow("the user's 1") << QByteArray("1") << QByteArray("1");
    }
    void engineAccessibilityIsTheUsers() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const char* name = "QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY";
        if (before.isNull())
            qunsetenv(name);
        else
            qputenv(name, before);
        WebBrowserViews::prepareEngine();
        QCOMPARE(qgetenv(name), after);
    }
};

QTEST_MAIN(KeysAndScreenReadersTest)
#include "test_keys_and_screen_readers.moc"
