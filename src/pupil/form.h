// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window: every control, every handler and routine of the program, and all run state.
// Member functions are defined in src/pupil/, in the file of their area:
//   form.cpp           construction, the exception guard, key preview, activation, close
//   layout.cpp         building every control at its place
//   shell.cpp          FormCreate, FormClose, IQuitClick, IHelpClick, the error box
//   drawing.cpp        Clearscreen.. DrawButton2
//   start_screen.cpp   FormActivate, FileListMouseDown, IStartOkClick, drawfrontpage,
//                      ClickStartClick, loadfile
//   navigation.cpp     begintest, drawquestion, printquestionno, the four navigation images
//   answer_panels.cpp  drawsingle, drawmultientry, drawmultiple, draworder
//   pointer_input.cpp  MultiClick, LabelOrderClick, OrderClearClick, SingleEnterChange
//   keyboard_input.cpp FormKeyDown
//   results.cpp        IFinishClick, IResetClick, IReviewClick, IprintClick, the record
//   spoken_screens.cpp what a screen reader hears as the screens change

#include "core/question_store.h"
#include "platform/seams.h"
#include "pupil/image_control.h"

#include <QDateTime>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;

namespace corvane {

class FileListBox;
class FocusRing;
class RecordKeeper;
class ScreenReaderText;

// A TColor value: 0x00BBGGRR.
using TColor = std::uint32_t;
QColor fromTColor(TColor colour);

// The window's image list: two 25 x 25 images, 0 = not chosen, 1 = chosen.
struct ImageList {
    std::array<QImage, 2> images;
};

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm1(const Seams& seams, QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- Run state -------------------------------------------------------------------------
    QuestionStore store;
    std::int32_t currentQuestion = 0;
    Text pupilName;
    Text testName;
    std::uint8_t reviewMode = 0;
    RightFlags questionRight;
    std::int32_t score = 0;
    std::int32_t orderPick = 0;
    QDateTime finishedAt; // when the test was last marked outside the review
    int pageZoom = 100;   // the pages' zoom in per cent, kept until the program ends

    std::string programFolder;
    std::string testFolder;
    std::string testFilePath;
    QByteArray testChecksum; // SHA-256 of the test file as last loaded whole; empty otherwise
    std::string testPageFolder;
    std::string frontPagePath;
    std::string helpFilePath;
    std::string questionPagePath;

    std::int32_t savedScreenWidth = 0;
    std::int32_t savedScreenHeight = 0;
    bool displayModeChanged = false;

    // ---- Controls (component names) --------------------------------------------------------
    QLabel* LheaderName = nullptr;
    QWidget* FrontPanel = nullptr;
    QWidget* StartPanel = nullptr;
    QWidget* ResultPanel = nullptr;
    QWidget* QuestionPanel = nullptr;
    ImageList iticks;

    ImageControl* FileRound = nullptr;
    ImageControl* IStartOk = nullptr;
    ImageControl* NameI = nullptr;
    ImageControl* StartTest = nullptr;
    QLineEdit* EStartName = nullptr;
    FileListBox* FileList = nullptr;
    QLabel* SettingsNote = nullptr; // the first mistake in the settings, for the teacher
    QLabel* LLibraryProblem = nullptr; // under the list: why the library's tests are missing

    std::unique_ptr<BrowserView> Front;
    ImageControl* ClickStart = nullptr;

    std::unique_ptr<BrowserView> Question;
    ImageControl* QBack = nullptr;
    ImageControl* Questionno = nullptr;
    ImageControl* IRew = nullptr;
    ImageControl* IPrevious = nullptr;
    ImageControl* INext = nullptr;
    ImageControl* IFF = nullptr;
    ImageControl* IFinish = nullptr;
    ImageControl* IReset = nullptr;
    ImageControl* IHelp = nullptr;
    QWidget* SinglePanel = nullptr;
    QWidget* orderpanel = nullptr;
    QWidget* YesNoPanel = nullptr;
    QWidget* MultiPanel = nullptr;

    ImageControl* WordLabel = nullptr;
    ImageControl* WordAnsI = nullptr;
    QLabel* Curr = nullptr;
    QLineEdit* singleenter = nullptr;
    ImageControl* BCorrectSingle = nullptr;
    ImageControl* CorrectSingle = nullptr;

    std::array<ImageControl*, 5> ManLetters{};  // ManA..ManE
    std::array<ImageControl*, 5> AnswerBoxes{}; // Answer1, Answer2, answer3, answer4, answer5
    ImageControl* BCorrMult = nullptr;
    ImageControl* CorrMult = nullptr;

    ImageControl* YesL = nullptr;
    ImageControl* YesSelect = nullptr;
    ImageControl* NoL = nullptr;
    ImageControl* NoSelect = nullptr;
    ImageControl* BYesNoCorrect = nullptr;
    ImageControl* YesNoCorrect = nullptr;

    std::array<ImageControl*, 5> OrderPlaces{}; // OrderA..OrderE
    ImageControl* Border = nullptr;
    ImageControl* Order = nullptr;
    ImageControl* Bordercorrect = nullptr;
    ImageControl* OrderCorrect = nullptr;
    ImageControl* BlankOrder = nullptr;
    ImageControl* Iclear = nullptr;

    ImageControl* Image1 = nullptr;
    ImageControl* Image5 = nullptr;
    ImageControl* Iresulttest = nullptr;
    ImageControl* Ichildname = nullptr;
    ImageControl* Iscore = nullptr;
    ImageControl* Iprint = nullptr;
    ImageControl* IQuit = nullptr;
    ImageControl* IReview = nullptr;
    QLabel* RecordNote = nullptr; // where the pupil's record is

    // The words of the page on show, for screen readers (src/pupil/spoken_screens.cpp).
    ScreenReaderText* FrontWords = nullptr;
    ScreenReaderText* QuestionWords = nullptr;
    void speakPage();

    // ---- Window events -----------------------------------------------------------------------
    void FormCreate(QObject* Sender);
    void FormActivate(QObject* Sender);
    void showLibraryProblem(const QString& problem); // empty: none
    void FormKeyDown(QObject* Sender, std::uint16_t& Key, Qt::KeyboardModifiers Shift);
    void FormClose(QObject* Sender);

    // ---- Start screen and test library -------------------------------------------------------
    void FileListMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                           int X, int Y);
    void FileListKeyMove(QObject* Sender); // the keys moved to another entry: load it
    void IStartOkClick(QObject* Sender);
    void ClickStartClick(QObject* Sender);
    void drawfrontpage();
    void loadfile();
    bool acceptPupilName(); // the name check and the move to the front page screen

    // ---- Navigation --------------------------------------------------------------------------
    void begintest();
    void drawquestion();
    void printquestionno(const Text& caption);
    Text questionPage(std::int32_t q) const; // the path of question q's page
    void INextMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                        int Y);
    void IPreviousMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                            int X, int Y);
    void IRewMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                       int Y);
    void IFFMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                      int Y);
    void goOn();           // the go-on step shared by INext and the Enter key
    bool leaveFrontPage(); // from the front page to question 1; false (and back to the start
                           // screen) when the test has none

    // ---- Answer panels and input ----------------------------------------------------------
    void drawsingle();
    void drawmultientry();
    void drawmultiple();
    void draworder();
    void MultiClick(QObject* Sender);
    void LabelOrderClick(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                         int X, int Y);
    void OrderClearClick(QObject* Sender);
    void SingleEnterChange(QObject* Sender);
    // Records option 1..5 of the question on screen as a click on its box does (the clearing
    // step for single choice and yes/no, then the toggle) and redraws; shared with the keys.
    void recordOption(std::int32_t option);

    // ---- Finishing, results, review ----------------------------------------------------------
    void IFinishClick(QObject* Sender);
    void IResetClick(QObject* Sender);
    void IReviewClick(QObject* Sender);
    void IprintClick(QObject* Sender);
    void saveClassRecord(); // when the teacher turned the class record on
    // The line under the score about the pupil's record; empty hides it.
    void showRecordNote(const QString& line);
    // The first mistake in the settings, on the start screen; none hides the line.
    void tellSettingsProblem();
    RecordKeeper& recordKeeper() { return *recordKeeper_; }

    // ---- Shell -------------------------------------------------------------------------------
    void IQuitClick(QObject* Sender);
    void IHelpClick(QObject* Sender);
    void showErrorBox(const Text& message);

    // ---- Drawing routines ------------------------------------------------------------------
    void Clearscreen(ImageControl* image, TColor colour);
    void Clearscreen2(ImageControl* image, TColor colour);
    void Clearscreen3(ImageControl* surface, QWidget* control, TColor colour);
    void Printf4(ImageControl* image, TColor textColour, std::int32_t size, std::int32_t x,
                 std::int32_t y, const Text& text, std::int32_t mode);
    void DrawButton(ImageControl* image, const ImageList& list, std::int32_t index);
    void DrawButton1(ImageControl* image, std::int32_t size, std::int32_t y, const Text& text,
                     std::uint8_t centred);
    void DrawButton2(ImageControl* image, std::int32_t size, std::int32_t y, const Text& text,
                     std::uint8_t centred);

    // ---- Helpers shared by the areas ---------------------------------------------------------
    // Runs a handler; an exception is shown in the error box and goes no further.
    void guarded(const std::function<void()>& handler);
    static void showPanel(QWidget* panel);
    static void hidePanel(QWidget* panel);
    Seams& seams() { return seams_; }

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildLayout();
    void buildScreenReaderText();
    void followAnswerKey(std::uint16_t key);
    void tellUnticked(const OptionRow& before, std::int32_t option);
    void forgetUnticked(const ImageControl* except);
    void describeForKeysAndScreenReaders();
    void screenShown(QWidget* screen);
    bool ownsFocusOf(const QWidget* widget) const;
    bool isInPageView(const QObject* object) const;
    void chainPageViews();
    static bool movesAbout(const QKeyEvent& key);
    void activateOnce();
    void connectHandlers();
    void drawBoxText(ImageControl* image, TColor fill, std::int32_t size, std::int32_t y,
                     const Text& text, std::uint8_t centred);

    Seams seams_;
    std::unique_ptr<RecordKeeper> recordKeeper_;
    bool activated_ = false;
    FocusRing* focusRing_ = nullptr;
    bool pageChainDue_ = false;
    ScreenReaderText* spareQuestionWords_ = nullptr;
    const QEvent* lastKeyEvent_ = nullptr;
    QPointer<QWidget> lastKeyReceiver_;
};

} // namespace corvane
