// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/speech.h"

#include <QObject>
#include <QPointer>
#include <QThread>

#include <vector>

namespace corvane {

class SpeechWorker;

// Qt's text-to-speech on a thread of its own: speech-dispatcher (with espeak-ng) when it
// answers, flite otherwise. Nothing leaves the computer.
class QtSpeech : public QObject, public Speech {
    Q_OBJECT
  public:
    QtSpeech();
    ~QtSpeech() override;

    void say(const QString& text, const SpeechVoice& voice) override;
    void stop() override;
    void warmUp() override;
    void listen(QObject* context, Listener listener) override;

  private:
    void startThread();
    void tell(State state, const QString& reason); // on the window's thread

    // Not a member: an engine stuck while starting is left running when the program ends.
    QThread* thread_;
    SpeechWorker* worker_ = nullptr; // lives on thread_
    std::vector<std::pair<QPointer<QObject>, Listener>> listeners_;
};

} // namespace corvane
