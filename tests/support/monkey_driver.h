// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pupil/form.h"
#include "support/fake_seams.h"
#include "support/monkey_library.h"

#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <deque>
#include <memory>
#include <random>

namespace corvane::testing {

// Drives whole windows with a seeded stream of real input events (clicks and presses with every
// button on every control, visible or not; keys to the focused control or the window; typing;
// dialogs answered at random) and checks after every event that:
//  - every error box shows one of the program's own messages, every other dialog a known text;
//  - exactly one screen is shown, and it agrees with currentQuestion (-1 start, 0 front page,
//    a question number on the question and results screens), which stays within the test;
//  - only the question on screen (before or after the event) has its answer changed, and a load
//    or a start only empties answers; nothing changes the test itself but a load;
//  - while reviewing no answer changes, and the start screen is never shown in review;
//  - a results screen just shown without a range error holds the score of a fresh marking;
//  - the question screen shows the panel of the question's type and the answer in the store;
//  - closing the window restores a switched display exactly once.
// Each episode is a fresh window on a freshly generated library.
class Monkey {
  public:
    explicit Monkey(std::uint64_t seed) : seed_(seed), rng_(seed) {}
    ~Monkey();

    // Sends `events` events; returns the first broken promise with the seed and the last
    // events, or an empty text.
    QString run(long events);

    // What the run reached, for the closing summary.
    QMap<QString, long> counts;

  private:
    struct Snapshot;

    QString startEpisode();
    QString endEpisode();
    void scriptDialogs();
    void note(const QString& event); // adds the event about to be sent to the trace
    void sendEvent();
    void mouseOnImage();
    void mouseOnList();
    void mouseOnEdit();
    void keyPress();
    void typing();
    Qt::MouseButton randomButton();
    Qt::KeyboardModifiers randomModifiers();
    QPoint randomPoint(const QRect& area);
    QString check(const Snapshot& before, std::size_t firstDialog);
    QString panelDisagrees();
    const QImage& tickBox(QSize size, int mark);
    QString failure(const QString& broken) const;

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    std::uint64_t seed_;
    std::mt19937_64 rng_;
    long episode_ = 0;
    long eventNumber_ = 0;
    std::deque<QString> trace_;
    std::vector<MonkeyTestFile> library_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeDesktop> desktop_;
    std::unique_ptr<TForm1> form_;
    QList<ImageControl*> images_;
    QMap<QString, QImage> tickBoxes_;
    bool loadPossible_ = false;  // the event may load a test (a press or key on the test list)
    bool startPossible_ = false; // the event may start a test (the OK image, or Space on it)
};

} // namespace corvane::testing
