// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

namespace corvane {

// Every picture of the window, drawn by code at start-up.
enum class Picture {
    ScreenFrame,       // 730 x 515: red TV-shaped frame around a pale grey-pink area
    StartTestButton,   // 63 x 63
    NameField,         // 390 x 63
    SelectTestBanner,  // 290 x 43
    TestResultsBanner, // 290 x 43
    ClickStartButton,  // 280 x 40
    FirstButton,       // 50 x 25, two left arrowheads
    PreviousButton,    // 50 x 25, one left arrowhead
    NextButton,        // 50 x 25, one right arrowhead
    LastButton,        // 50 x 25, two right arrowheads
    HelpButton,        // 50 x 25, question mark
    FinishButton,      // 100 x 25 word buttons ...
    ResetButton,
    QuitButton,
    ReviewButton,
    PrintButton,
    ClearButton,
    AnswerLabel,
    YesButton, // 100 x 25, red-orange
    NoButton,
    LetterA, // 25 x 25 red-orange squares with a letter
    LetterB,
    LetterC,
    LetterD,
    LetterE,
    BlankSquare,      // 25 x 25 red-orange, no letter
    QuestionBackdrop, // 250 x 30 orange bar
    AnswerFrame,      // 250 x 29 pale orange field with a dark outline
    TickEmpty,        // 25 x 25 light grey square (image list entry 0)
    TickChosen,       // 25 x 25 red-orange square (image list entry 1)
    WindowIcon,       // 32 x 32
};

QSize pictureSize(Picture picture);

// The picture at its own size.
QImage drawPicture(Picture picture);

// The window icon at `side` x `side` pixels (the icons of the desktop's menu).
QImage drawWindowIcon(int side);

} // namespace corvane
