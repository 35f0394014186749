// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/speech.h"

#include <QObject>
#include <QString>

#include <array>
#include <string>

namespace corvane {

class ImageControl;
class TForm1;

// The "Read it to me" control of the front page, the question screen and the results screen,
// and its key F9: reads the screen aloud, and stops when pressed again. Hidden where the room's
// settings turn reading off or the test's front page refuses it; told once, then hidden, when
// the computer has no speech engine.
class ReadAloud : public QObject {
    Q_OBJECT
  public:
    ReadAloud(TForm1& form, Speech& speech);

    // What the control reads on the screen shown now; empty on the start screen.
    QString screenText() const;
    // The press of the control or of its key.
    void toggle();
    bool speaking() const { return speaking_; }
    // The control on each screen: front page, question, results.
    const std::array<ImageControl*, 3>& controls() const { return controls_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ImageControl* shownControl() const;
    void heard(Speech::State state, const QString& reason);
    void stop();
    void showControls();
    void draw();
    bool refusedByTest() const;
    QString questionText() const;
    QString verdictText() const;
    QString resultsText() const;

    TForm1& form_;
    Speech& speech_;
    std::array<ImageControl*, 3> controls_{};
    bool speaking_ = false;
    bool unavailable_ = false;
    bool pressWaits_ = false; // pressed before the engine said whether it works
    bool warmedUp_ = false;
    QString unavailableReason_;
    mutable std::string checkedFrontPage_; // the front page whose mark `refused_` holds
    mutable bool refused_ = false;
};

} // namespace corvane
