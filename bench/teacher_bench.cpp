// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's window with a 30-question source: from a keystroke to the problems list and the
// preview brought up to date, against making the same source alone (the floor of the check).
// Offscreen with the fake desktop: the preview's page is asked for, not drawn by the engine.
#include "bench/report.h"
#include "pupil/file_list_box.h"
#include "pupil/form.h"
#include "support/fake_seams.h"
#include "teacher/editor_page.h"
#include "teacher/preview.h"
#include "teacher/question_templates.h"
#include "teacher/source_editor.h"
#include "teacher/teacher_window.h"
#include "tools/make/make_test.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace corvane::bench;

namespace {

QByteArray thirtyQuestions() {
    QByteArray source = "# Bench Teacher\nThirty questions of every kind.\n\n";
    for (int q = 0; q < 30; ++q) {
        const QByteArray question =
            teacher::questionTemplates()[q % teacher::questionTemplates().size()].source.toUtf8();
        const qsizetype heading = question.indexOf('\n') + 1;
        source +=
            question.left(heading) + "Some *text* for the page.\n\n" + question.mid(heading) + "\n";
    }
    return source;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray source = thirtyQuestions();
    // --write-source FILE: the source for the window's start-up, measured from outside.
    if (argc == 3 && qstrcmp(argv[1], "--write-source") == 0) {
        QFile out(QString::fromLocal8Bit(argv[2]));
        return out.open(QIODevice::WriteOnly) && out.write(source) == source.size() ? 0 : 1;
    }
    constexpr int kRuns = 21;
    QTemporaryDir dir;

    std::vector<double> making;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = Clock::now();
        const make::MakeResult made =
            make::makeTest({source, "bench.md", dir.path(), dir.filePath("alone"), true});
        making.push_back(millisecondsSince(start));
        if (!made.errors.empty())
            qFatal("%s", qPrintable(make::formatErrors("bench", made.errors)));
    }

    QFile file(dir.filePath("Bench Teacher.md"));
    if (!file.open(QIODevice::WriteOnly) || file.write(source) != source.size()) qFatal("write");
    file.close();
    // Opening: the teacher's window on the source until its check is shown with the preview,
    // against the pupil's window until its list of the same test is filled (both offscreen).
    QDir(dir.path()).mkpath("program/test");
    make::makeTest({source, "bench.md", dir.path(), dir.filePath("program/test"), true});
    std::vector<double> pupilOpen, teacherOpen;
    for (int run = 0; run < 7; ++run) {
        testing::FakeDesktop pupilDesktop;
        pupilDesktop.programFolder.folder = dir.filePath("program").toStdString();
        auto start = Clock::now();
        {
            TForm1 form(pupilDesktop.seams());
            form.show();
            if (!QTest::qWaitFor([&] { return form.FileList->count() > 0; }, 10000))
                qFatal("the pupil's list stayed empty");
            pupilOpen.push_back(millisecondsSince(start));
        }
        testing::FakeDesktop teacherDesktop;
        start = Clock::now();
        teacher::TeacherWindow window(teacherDesktop.seams(), dir.filePath("program/test"));
        window.show();
        window.openFile(file.fileName());
        if (!QTest::qWaitFor([&] { return window.editorPage()->preview()->loaded(); }, 10000))
            qFatal("the preview did not show");
        teacherOpen.push_back(millisecondsSince(start));
    }
    printFigure("teacher_open_30", median(teacherOpen), "ms", "pupil's window start",
                median(pupilOpen), "<= 2 x reference (offscreen, fake browser)");

    testing::FakeDesktop desktop;
    teacher::TeacherWindow window(desktop.seams(), dir.filePath("library"));
    window.show();
    window.openFile(file.fileName());
    teacher::EditorPage* page = window.editorPage();
    if (!QTest::qWaitFor([&] { return page->lastCheck().questionLines.size() == 30; }, 10000))
        qFatal("the source was not checked");
    page->editor()->goToLine(40); // inside a question's text

    std::vector<double> keystrokes;
    for (int run = 0; run < kRuns; ++run) {
        const int before = page->lastCheck().generation;
        const auto start = Clock::now();
        QTest::keyClick(page->editor(), Qt::Key_A);
        if (!QTest::qWaitFor([&] { return page->lastCheck().generation > before; }, 10000))
            qFatal("no check after a keystroke");
        keystrokes.push_back(millisecondsSince(start));
    }
    printFigure("teacher_keystroke_30", median(keystrokes), "ms", "makeTest alone", median(making),
                "problems <= 300 ms, preview <= 500 ms (both in this time)");
    return 0;
}
