// SPDX-License-Identifier: GPL-3.0-or-later
// The start screen: setting it up, the test list, the pupil's name, the front page and the
// move to question 1; and loading a test file into the store.
#include "core/class_record.h"
#include "core/library.h"
#include "core/reader.h"
#include "core/settings_check.h"
#include "core/settings_file.h"
#include "pupil/file_list_box.h"
#include "pupil/form.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include <set>

namespace corvane {
namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kNameBoxOrange = 0x0099FF;
constexpr TColor kAnswerBoxOrange = 0x60C8FF;

void setBackground(QWidget* widget, TColor colour) {
    QPalette colours = widget->palette();
    colours.setColor(widget->backgroundRole(), fromTColor(colour));
    widget->setPalette(colours);
}

void setEditColours(QLineEdit* edit, TColor background, TColor text) {
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, fromTColor(background));
    colours.setColor(QPalette::Text, fromTColor(text));
    edit->setPalette(colours);
}

} // namespace

void TForm1::FormActivate(QObject*) {
    for (ImageControl* image : {IRew, IFF, IPrevious, INext, IFinish, IReset})
        showPanel(image);
    // Qt widgets paint double-buffered already.

    hidePanel(FrontPanel);
    showPanel(StartPanel);
    for (QWidget* panel : {ResultPanel, MultiPanel, YesNoPanel})
        hidePanel(panel);
    StartPanel->raise();

    currentQuestion = -1;
    reviewMode = 0;

    programFolder = seams().programFolder.path() + "/";
    const ProgramSettings settings = seams().settings.read();
    std::vector<QString> folders =
        testFolders(settings, QFile::decodeName(QByteArray::fromStdString(programFolder)));
    // A library that cannot serve is told under the list, naming the folder and the setting,
    // and is left out; the samples are still listed when they are asked for.
    const std::optional<SettingsProblem> libraryProblem = libraryFolderProblem(settings);
    showLibraryProblem(libraryProblem ? describeProblem(settings, *libraryProblem) : QString());
    if (libraryProblem) std::erase(folders, settings.libraryFolder);
    testFolder =
        folders.empty() ? std::string() : QFile::encodeName(folders.front()).toStdString() + "/";
    helpFilePath = programFolder + "LumbrelHelp.pdf";
    tellSettingsProblem();

    for (QWidget* panel : {static_cast<QWidget*>(this), StartPanel, ResultPanel, FrontPanel,
                           QuestionPanel, orderpanel, MultiPanel, SinglePanel, YesNoPanel})
        setBackground(panel, kWhite);

    hidePanel(QuestionPanel);
    hidePanel(FrontPanel);
    showPanel(StartPanel);
    for (QWidget* panel : {YesNoPanel, MultiPanel, ResultPanel})
        hidePanel(panel);

    Clearscreen3(FileList->canvasImage(), FileList, kWhite);
    setEditColours(EStartName, kNameBoxOrange, 0x000000);

    // The library's tests, then the samples when asked for; a library test hides a sample of
    // the same file name. Each entry keeps its file's whole path.
    if (!testFolder.empty()) enterFolder(testFolder);
    std::set<std::string> listed;
    for (const QString& folder : folders) {
        const std::string path = QFile::encodeName(folder).toStdString() + "/";
        for (const TestEntry& entry : listTestEntries(path))
            if (listed.insert(entry.fileName).second)
                FileList->addSorted(entry.shown, QByteArray::fromStdString(path + entry.fileName));
    }
}

void TForm1::showLibraryProblem(const QString& problem) {
    LLibraryProblem->setText(problem);
    LLibraryProblem->setVisible(!problem.isEmpty());
    // The message's box ends where the whole list ends; the list gives it room.
    const QRect box = LLibraryProblem->geometry();
    FileList->resize(FileList->width(),
                     (problem.isEmpty() ? box.bottom() + 1 : box.top() - 4) - FileList->y());
    // A screen reader says it with the list, where the tests would be.
    FileList->setAccessibleDescription(problem);
}

void TForm1::FileListMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
    const QListWidgetItem* item = FileList->itemAt(X, Y);
    if (!item) return;
    testName = removeTxt(fromQt(item->text()));
    testFilePath = FileListBox::fileName(item).toStdString();
    loadfile();
    testPageFolder = removeTxt(testFilePath);
    frontPagePath = testPageFolder + "/front.htm";
    Front->loadAhead("file://" + frontPagePath);
}

// Takes the name from the name box and moves to the front page screen; an empty name is
// refused with a message and nothing changes.
bool TForm1::acceptPupilName() {
    pupilName = fromQt(EStartName->text());
    if (pupilName.empty()) {
        seams().dialogs.showMessage("Please enter your name");
        return false;
    }
    hidePanel(StartPanel);
    LheaderName->setText(toQt("Name: " + pupilName));
    showPanel(FrontPanel);
    currentQuestion = 0;
    return true;
}

void TForm1::IStartOkClick(QObject*) {
    if (!acceptPupilName()) return;
    resetAnswers(store);
    singleenter->setText(QString());
    drawfrontpage();
}

void TForm1::drawfrontpage() {
    testPageFolder = removeTxt(testFilePath);
    frontPagePath = testPageFolder + "/front.htm";
    Front->Navigate("file://" + frontPagePath);
    if (store.questionCount > 0) Question->loadAhead("file://" + questionPage(1));
    Questionno->setVisible(true);
    currentQuestion = 0;
    Questionno->setToolTip("Click here to start the test");
    speakPage();
}

// As Enter does: on to question 1, in review still when reviewing (only Reset ends a review).
void TForm1::ClickStartClick(QObject*) {
    if (currentQuestion == 0 && !leaveFrontPage()) return;
    if (currentQuestion > 0) drawquestion();
}

void TForm1::loadfile() {
    testChecksum.clear();
    const QByteArray checksum = fileChecksum(testFilePath);
    readTestFile(testFilePath, store);
    testChecksum = checksum;
    resetAnswers(store);
    singleenter->setText(QString());
    setEditColours(singleenter, kAnswerBoxOrange, 0x000000);
    begintest();
}

} // namespace corvane
