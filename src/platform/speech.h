// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QObject;

namespace corvane {

// How the words are said: the room's [speech] settings.
struct SpeechVoice {
    int rate = 0;  // -10 (slowest) .. 10 (fastest); 0 is the engine's own pace
    QString voice; // a voice of the engine by name; empty: an English voice of its choice
};

// A speech engine that reads text aloud. Calls return at once; the engine starts on first use,
// away from the window's thread.
class Speech {
  public:
    enum class State {
        Ready,      // saying nothing
        Speaking,   // the words are being said
        Unavailable // no speech engine could be started; `reason` says why
    };
    using Listener = std::function<void(State state, const QString& reason)>;

    virtual ~Speech() = default;
    // Says `text` in place of anything still being said.
    virtual void say(const QString& text, const SpeechVoice& voice) = 0;
    virtual void stop() = 0;
    // Starts the engine now, so that the first words come without its start-up.
    virtual void warmUp() = 0;
    // `listener` hears every change of state, on the window's thread, while `context` lives.
    virtual void listen(QObject* context, Listener listener) = 0;
};

} // namespace corvane
