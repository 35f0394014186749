// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/accessibility.h"
#include "pupil/file_list_box.h"
#include "pupil/focus_ring.h"
#include "pupil/form.h"
#include "pupil/pictures.h"
#include "pupil/screen_reader_text.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include <optional>
#include <vector>

namespace corvane {
namespace {

constexpr TColor kWhite = 0xFFFFFF;

QFont pixelFont(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QWidget* makePanel(QWidget* parent, const char* name, QRect geometry) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    panel->setAutoFillBackground(true);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, Qt::white);
    panel->setPalette(colours);
    return panel;
}

ImageControl* makeImage(QWidget* parent, const char* name, QRect geometry,
                        std::optional<Picture> picture = std::nullopt, bool stretch = false,
                        const char* hint = nullptr) {
    auto* image = new ImageControl(parent);
    image->setObjectName(name);
    image->setGeometry(geometry);
    if (picture) image->setPicture(drawPicture(*picture), stretch);
    if (hint) image->setToolTip(QString::fromLatin1(hint));
    return image;
}

// A box without a picture: its surface is drawn on at run time.
ImageControl* makeBox(QWidget* parent, const char* name, QRect geometry) {
    auto* image = makeImage(parent, name, geometry);
    image->surface();
    return image;
}

// A line of words that the program sets at run time, hidden while it has none.
QLabel* makeNote(QWidget* parent, const char* name, QRect geometry) {
    auto* note = new QLabel(parent);
    note->setObjectName(name);
    note->setGeometry(geometry);
    note->setFont(pixelFont("Arial", 14));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignCenter);
    note->setTextFormat(Qt::PlainText);
    note->setVisible(false);
    return note;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, QRect geometry, const QFont& font,
                    const QColor& background, const char* hint) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setFrame(false);
    edit->setFont(font);
    edit->setToolTip(QString::fromLatin1(hint));
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, background);
    colours.setColor(QPalette::Text, Qt::black);
    edit->setPalette(colours);
    return edit;
}

} // namespace

void TForm1::buildLayout() {
    setObjectName("Form1");
    setWindowTitle("Corvane Maths");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(790, 564);
    setWindowIcon(QIcon(QPixmap::fromImage(drawPicture(Picture::WindowIcon))));
    setFont(pixelFont("MS Sans Serif", 11));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);

    // Window children, bottom to top.
    LheaderName = new QLabel("LHeaderText", this);
    LheaderName->setObjectName("LheaderName");
    LheaderName->setGeometry(510, 10, 211, 20);
    LheaderName->setFont(pixelFont("MS Sans Serif", 11));
    LheaderName->setStyleSheet("color: white; background: transparent;");

    FrontPanel = makePanel(this, "FrontPanel", {0, 0, 791, 581});
    StartPanel = makePanel(this, "StartPanel", {-5, 5, 796, 581});
    StartPanel->setFont(pixelFont("Comic Sans MS", 27));
    ResultPanel = makePanel(this, "ResultPanel", {0, -15, 791, 591});
    ResultPanel->setFont(pixelFont("MS Sans Serif", 16));
    QuestionPanel = makePanel(this, "QuestionPanel", {0, 0, 791, 576});
    iticks.images = {drawPicture(Picture::TickEmpty), drawPicture(Picture::TickChosen)};

    // Start screen.
    FileRound = makeImage(StartPanel, "FileRound", {25, 25, 730, 516}, Picture::ScreenFrame);
    IStartOk = makeImage(StartPanel, "IStartOk", {640, 65, 63, 63}, Picture::StartTestButton);
    NameI = makeImage(StartPanel, "NameI", {200, 102, 390, 66}, Picture::NameField);
    StartTest = makeImage(StartPanel, "StartTest", {250, 170, 290, 43}, Picture::SelectTestBanner);
    EStartName =
        makeEdit(StartPanel, "EStartName", {285, 120, 291, 31}, pixelFont("Arial", 21, true),
                 fromTColor(0x857E68), "Type your name here ");
    FileList = new FileListBox(StartPanel);
    FileList->setObjectName("FileList");
    FileList->setGeometry(195, 220, 391, 271);
    FileList->setFont(pixelFont("Arial", 21, true));
    FileList->setToolTip("Click here to load a test");
    FileList->setUniformItemSizes(true);
    FileList->setStyleSheet("QListWidget::item { height: 24px; }");
    FileList->canvasImage()->canvas().brushColor = fromTColor(0xC0C0D0);
    FileList->canvasImage()->fillRect(FileList->rect());
    // A notice bar over the frame's foot: the teacher sees it before a pupil starts.
    SettingsNote = makeNote(StartPanel, "SettingsNote", {5, 520, 786, 39});
    SettingsNote->setFont(pixelFont("Arial", 13));
    SettingsNote->setAutoFillBackground(true);
    QPalette notice = SettingsNote->palette();
    notice.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xC0));
    notice.setColor(QPalette::WindowText, Qt::black);
    SettingsNote->setPalette(notice);
    LLibraryProblem = new QLabel(StartPanel);
    LLibraryProblem->setObjectName("LLibraryProblem");
    // Where the list's lower part is: the list shortens while a message shows.
    LLibraryProblem->setGeometry(60, 440, 660, 51);
    LLibraryProblem->setFont(pixelFont("Arial", 13, true));
    LLibraryProblem->setWordWrap(true);
    LLibraryProblem->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LLibraryProblem->setTextFormat(Qt::PlainText);
    LLibraryProblem->setStyleSheet("color: #900000; background: transparent;");
    LLibraryProblem->hide();

    // Front page.
    Front = seams_.browsers.create(FrontPanel, "Front");
    Front->widget()->setGeometry(0, -10, 791, 526);
    ClickStart =
        makeImage(FrontPanel, "ClickStart", {240, 517, 280, 40}, Picture::ClickStartButton);

    // Question screen.
    Question = seams_.browsers.create(QuestionPanel, "Question");
    Question->widget()->setGeometry(0, 0, 791, 481);
    QBack = makeImage(QuestionPanel, "QBack", {5, 526, 250, 30}, Picture::QuestionBackdrop);
    Questionno = makeBox(QuestionPanel, "Questionno", {10, 530, 241, 22});
    Questionno->setToolTip("Click here to start the test");
    Questionno->setVisible(false);
    const char* backHint = "Click here to go back a question";
    const char* nextHint =
        "Click here to go next question. When you'v answered all the question press finish";
    IRew =
        makeImage(QuestionPanel, "IRew", {270, 528, 50, 25}, Picture::FirstButton, true, backHint);
    IPrevious = makeImage(QuestionPanel, "IPrevious", {330, 528, 50, 25}, Picture::PreviousButton,
                          true, backHint);
    INext =
        makeImage(QuestionPanel, "INext", {395, 528, 50, 25}, Picture::NextButton, true, nextHint);
    IFF = makeImage(QuestionPanel, "IFF", {455, 528, 50, 25}, Picture::LastButton, true, nextHint);
    IFinish = makeImage(QuestionPanel, "IFinish", {520, 528, 100, 25}, Picture::FinishButton, true,
                        "When you've answered all the questions, click here to finish the test");
    IReset = makeImage(QuestionPanel, "IReset", {625, 528, 100, 25}, Picture::ResetButton, true,
                       "Click here to restart test");
    IHelp = makeImage(QuestionPanel, "IHelp", {730, 528, 50, 25}, Picture::HelpButton, true,
                      "Click here for help file");
    SinglePanel = makePanel(QuestionPanel, "SinglePanel", {0, 485, 781, 36});
    orderpanel = makePanel(QuestionPanel, "orderpanel", {0, 485, 791, 35});
    orderpanel->setToolTip("Click the answers in the correct order ");
    YesNoPanel = makePanel(QuestionPanel, "YesNoPanel", {5, 485, 786, 36});
    YesNoPanel->setToolTip("Click which answers are right");
    MultiPanel = makePanel(QuestionPanel, "MultiPanel", {5, 485, 786, 36});
    MultiPanel->setToolTip("Click which answers are right");

    // Typed answer.
    WordLabel = makeImage(SinglePanel, "WordLabel", {5, 4, 100, 25}, Picture::AnswerLabel);
    WordAnsI = makeImage(SinglePanel, "WordAnsI", {115, 3, 250, 29}, Picture::AnswerFrame);
    Curr = new QLabel(QString(QChar(0xA3)), SinglePanel);
    Curr->setObjectName("Curr");
    Curr->setGeometry(130, 7, 11, 22);
    Curr->setFont(pixelFont("Arial", 19));
    Curr->setAutoFillBackground(true);
    QPalette currColours = Curr->palette();
    currColours.setColor(QPalette::Window, fromTColor(0x68CCFF));
    Curr->setPalette(currColours);
    singleenter =
        makeEdit(SinglePanel, "singleenter", {150, 6, 206, 23},
                 pixelFont("Comic Sans MS", 16, true), Qt::white, "Enter the answer here ");
    BCorrectSingle =
        makeImage(SinglePanel, "BCorrectSingle", {520, 2, 250, 29}, Picture::AnswerFrame);
    CorrectSingle = makeBox(SinglePanel, "CorrectSingle", {540, 5, 216, 23});

    // Choices A to E.
    const std::array<const char*, 5> manNames = {"ManA", "ManB", "ManC", "ManD", "ManE"};
    const std::array<const char*, 5> boxNames = {"Answer1", "Answer2", "answer3", "answer4",
                                                 "answer5"};
    const std::array<int, 5> manLefts = {5, 105, 200, 300, 395};
    const std::array<int, 5> boxLefts = {50, 150, 245, 345, 440};
    for (int k = 0; k < 5; ++k) {
        ManLetters[k] =
            makeImage(MultiPanel, manNames[k], {manLefts[k], 5, 25, 25},
                      static_cast<Picture>(static_cast<int>(Picture::LetterA) + k), true);
        AnswerBoxes[k] = makeBox(MultiPanel, boxNames[k], {boxLefts[k], 5, 25, 25});
    }
    BCorrMult = makeImage(MultiPanel, "BCorrMult", {510, 2, 250, 29}, Picture::AnswerFrame);
    CorrMult = makeBox(MultiPanel, "CorrMult", {530, 5, 201, 23});

    // Yes or no.
    YesL = makeImage(YesNoPanel, "YesL", {5, 5, 100, 25}, Picture::YesButton, true);
    YesSelect = makeBox(YesNoPanel, "YesSelect", {115, 5, 28, 25});
    NoL = makeImage(YesNoPanel, "NoL", {180, 5, 100, 25}, Picture::NoButton, true);
    NoSelect = makeBox(YesNoPanel, "NoSelect", {290, 5, 28, 25});
    BYesNoCorrect = makeImage(YesNoPanel, "BYesNoCorrect", {510, 2, 250, 29}, Picture::AnswerFrame);
    YesNoCorrect = makeBox(YesNoPanel, "YesNoCorrect", {525, 5, 221, 23});
    YesNoCorrect->setTransparent(true);

    // Ordering.
    const std::array<const char*, 5> placeNames = {"OrderA", "OrderB", "OrderC", "OrderD",
                                                   "OrderE"};
    for (int k = 0; k < 5; ++k)
        OrderPlaces[k] = makeBox(orderpanel, placeNames[k], {5 + 30 * k, 4, 25, 25});
    Border = makeImage(orderpanel, "Border", {160, 2, 250, 29}, Picture::AnswerFrame);
    Order = makeBox(orderpanel, "Order", {165, 5, 236, 23});
    Order->setToolTip("Order of the answers");
    Bordercorrect = makeImage(orderpanel, "Bordercorrect", {420, 2, 250, 29}, Picture::AnswerFrame);
    OrderCorrect = makeBox(orderpanel, "OrderCorrect", {425, 5, 241, 23});
    BlankOrder = makeImage(orderpanel, "BlankOrder", {550, 7, 25, 25}, Picture::BlankSquare);
    BlankOrder->setVisible(false);
    Iclear = makeImage(orderpanel, "Iclear", {685, 4, 100, 25}, Picture::ClearButton, false,
                       "This clears the answer");

    // Results screen.
    Image1 = makeImage(ResultPanel, "Image1", {20, 20, 746, 516}, Picture::ScreenFrame);
    Image5 = makeImage(ResultPanel, "Image5", {245, 110, 290, 43}, Picture::TestResultsBanner);
    Iresulttest = makeBox(ResultPanel, "Iresulttest", {170, 180, 440, 60});
    Ichildname = makeBox(ResultPanel, "Ichildname", {165, 275, 440, 60});
    Iscore = makeBox(ResultPanel, "Iscore", {160, 375, 440, 60});
    Iprint = makeImage(ResultPanel, "Iprint", {30, 540, 100, 25}, Picture::PrintButton, false,
                       "Print out this report");
    IQuit = makeImage(ResultPanel, "IQuit", {340, 540, 100, 25}, Picture::QuitButton, false,
                      "Quit the test");
    IReview = makeImage(ResultPanel, "IReview", {620, 540, 100, 25}, Picture::ReviewButton, false,
                        "Click to review the current test");
    RecordNote = makeNote(ResultPanel, "RecordNote", {50, 436, 686, 56});

    buildScreenReaderText();
    describeForKeysAndScreenReaders();
}

// What each control is to the keyboard and to a screen reader: buttons and tick boxes take
// the focus from Tab in reading order; every control says its visible word; boxes whose words
// are drawn at run time speak those words.
void TForm1::describeForKeysAndScreenReaders() {
    installImageControlAccessibility();
    using Kind = ImageControl::Kind;
    auto named = [](ImageControl* control, Kind kind, const char* name) {
        control->setKind(kind);
        control->setAccessibleName(QString::fromLatin1(name));
    };
    named(IStartOk, Kind::Button, "Start Test");
    named(StartTest, Kind::Text, "Select Test");
    EStartName->setAccessibleName("Name");
    FileList->setAccessibleName("Tests");
    named(ClickStart, Kind::Button, "Click here to Start");
    named(IRew, Kind::Button, "First question");
    named(IPrevious, Kind::Button, "Previous question");
    named(INext, Kind::Button, "Next question");
    named(IFF, Kind::Button, "Last question");
    named(IFinish, Kind::Button, "Finish");
    named(IReset, Kind::Button, "Reset");
    named(IHelp, Kind::Button, "Help");
    singleenter->setAccessibleName("Answer");
    const char* const letters[] = {"A", "B", "C", "D", "E"};
    for (int k = 0; k < 5; ++k) {
        named(ManLetters[k], Kind::Text, letters[k]);
        named(AnswerBoxes[k], Kind::CheckBox, qPrintable(QString("Option ") + letters[k]));
        OrderPlaces[k]->setKind(Kind::Button);
        OrderPlaces[k]->setNamePrefix("Item ");
    }
    named(YesL, Kind::Text, "Yes");
    named(YesSelect, Kind::CheckBox, "Yes");
    named(NoL, Kind::Text, "No");
    named(NoSelect, Kind::CheckBox, "No");
    named(Iclear, Kind::Button, "Clear");
    named(Image5, Kind::Text, "Test Results");
    named(Iprint, Kind::Button, "Print");
    named(IQuit, Kind::Button, "Quit");
    named(IReview, Kind::Button, "Review");
    for (ImageControl* box : {Questionno, Order, CorrectSingle, CorrMult, YesNoCorrect,
                              OrderCorrect, Iresulttest, Ichildname, Iscore})
        box->setKind(Kind::Text);
    Iscore->setFocusPolicy(Qt::ClickFocus); // the results screen puts the focus here
    for (QWidget* page : {Front->widget(), Question->widget()})
        page->setProperty("pageView", true);
    Front->widget()->setAccessibleName("Front page");
    // The page view is named after the question it shows.
    connect(Questionno, &ImageControl::shownTextChanged, Question->widget(),
            [this](const QString& caption) { Question->widget()->setAccessibleName(caption); });

    // The list's current entry stands out from the rest.
    QPalette listColours = FileList->palette();
    listColours.setColor(QPalette::Highlight, QColor(0xFF, 0xCC, 0x66));
    listColours.setColor(QPalette::HighlightedText, Qt::black);
    FileList->setPalette(listColours);

    // Reading order: the chain of each screen, top to bottom and left to right.
    const std::vector<QWidget*> chain = {EStartName,
                                         FileList,
                                         IStartOk,
                                         FrontWords,
                                         Front->widget(),
                                         ClickStart,
                                         QuestionWords,
                                         spareQuestionWords_,
                                         Question->widget(),
                                         singleenter,
                                         OrderPlaces[0],
                                         OrderPlaces[1],
                                         OrderPlaces[2],
                                         OrderPlaces[3],
                                         OrderPlaces[4],
                                         Iclear,
                                         YesSelect,
                                         NoSelect,
                                         AnswerBoxes[0],
                                         AnswerBoxes[1],
                                         AnswerBoxes[2],
                                         AnswerBoxes[3],
                                         AnswerBoxes[4],
                                         IRew,
                                         IPrevious,
                                         INext,
                                         IFF,
                                         IFinish,
                                         IReset,
                                         IHelp,
                                         Iscore,
                                         Iprint,
                                         IQuit,
                                         IReview};
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    focusRing_ = new FocusRing(this);
}

// Every handler runs through the guard, so no exception ever reaches Qt.
void TForm1::connectHandlers() {
    using Press = void (TForm1::*)(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int);
    using Click = void (TForm1::*)(QObject*);
    auto onPress = [this](ImageControl* image, Press handler) {
        connect(image, &ImageControl::mousePressed, this,
                [this, image, handler](Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                       QPoint pos) {
                    guarded([&] { (this->*handler)(image, button, shift, pos.x(), pos.y()); });
                });
    };
    auto onClick = [this](ImageControl* image, Click handler) {
        connect(image, &ImageControl::clicked, this,
                [this, image, handler] { guarded([&] { (this->*handler)(image); }); });
    };

    onClick(IStartOk, &TForm1::IStartOkClick);
    connect(FileList, &FileListBox::mousePressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos) {
                guarded([&] { FileListMouseDown(FileList, button, shift, pos.x(), pos.y()); });
            });
    connect(FileList, &FileListBox::keyboardMoved, this,
            [this] { guarded([this] { FileListKeyMove(FileList); }); });
    onClick(ClickStart, &TForm1::ClickStartClick);

    onPress(IRew, &TForm1::IRewMouseDown);
    onPress(IPrevious, &TForm1::IPreviousMouseDown);
    onPress(INext, &TForm1::INextMouseDown);
    onPress(IFF, &TForm1::IFFMouseDown);
    onClick(IFinish, &TForm1::IFinishClick);
    onClick(IReset, &TForm1::IResetClick);
    onClick(IHelp, &TForm1::IHelpClick);

    connect(singleenter, &QLineEdit::textChanged, this,
            [this] { guarded([this] { SingleEnterChange(singleenter); }); });
    for (ImageControl* image : ManLetters)
        onClick(image, &TForm1::MultiClick);
    for (ImageControl* image : AnswerBoxes)
        onClick(image, &TForm1::MultiClick);
    for (ImageControl* image : {YesL, YesSelect, NoL, NoSelect})
        onClick(image, &TForm1::MultiClick);
    for (ImageControl* image : OrderPlaces)
        onPress(image, &TForm1::LabelOrderClick);
    onPress(BlankOrder, &TForm1::LabelOrderClick);
    onClick(Iclear, &TForm1::OrderClearClick);

    onClick(IQuit, &TForm1::IQuitClick);
    onClick(IReview, &TForm1::IReviewClick);
    onClick(Iprint, &TForm1::IprintClick);
}

} // namespace corvane
