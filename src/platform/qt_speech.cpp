// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_speech.h"

#include <QLocale>
#include <QLoggingCategory>
#include <QTextToSpeech>
#include <QVoice>

#include <algorithm>

namespace corvane {

// QT_LOGGING_RULES="corvane.speech.info=true" shows the engine chosen and every change of state.
Q_LOGGING_CATEGORY(speechLog, "corvane.speech", QtWarningMsg)

// The engine and everything that waits on it, on the speech thread.
class SpeechWorker : public QObject {
  public:
    using Tell = std::function<void(Speech::State, const QString&)>;
    explicit SpeechWorker(Tell tell) : tell_(std::move(tell)) {}

    // Starts the first engine that works; false (told once) when none does.
    bool start() {
        if (engine_) return true;
        if (failed_) return false;
        QStringList reasons;
        const QStringList engines = QTextToSpeech::availableEngines();
        for (const char* name : {"speechd", "flite"}) {
            if (!engines.contains(QLatin1String(name))) continue;
            auto* engine = new QTextToSpeech(QString::fromLatin1(name), this);
            if (engine->state() == QTextToSpeech::Error || engine->availableVoices().isEmpty()) {
                reasons << QStringLiteral("%1: %2").arg(QLatin1String(name),
                                                        engine->errorString().isEmpty()
                                                            ? QStringLiteral("no voices")
                                                            : engine->errorString());
                delete engine;
                continue;
            }
            engine_ = engine;
            break;
        }
        if (!engine_) {
            failed_ = true;
            tell_(Speech::State::Unavailable, reasons.isEmpty()
                                                  ? QStringLiteral("no speech engine is installed")
                                                  : reasons.join(QStringLiteral("; ")));
            return false;
        }
        chooseEnglish();
        qCInfo(speechLog) << "engine" << engine_->engine() << engine_->voice().name();
        connect(engine_, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
            if (state == QTextToSpeech::Speaking)
                tell_(Speech::State::Speaking, {});
            else if (state == QTextToSpeech::Error)
                tell_(Speech::State::Unavailable, engine_->errorString());
            else
                tell_(Speech::State::Ready, {});
        });
        return true;
    }

    void say(const QString& text, const SpeechVoice& voice) {
        if (!start()) return;
        // Only what is being said is cancelled: a cancel just after the engine started would
        // take the new words with it.
        if (engine_->state() != QTextToSpeech::Ready) engine_->stop();
        engine_->setRate(std::clamp(voice.rate, -10, 10) / 10.0);
        if (!voice.voice.isEmpty() && voice.voice != engine_->voice().name()) {
            const QList<QVoice> voices = engine_->availableVoices();
            const auto named = std::find_if(voices.begin(), voices.end(), [&](const QVoice& v) {
                return v.name().compare(voice.voice, Qt::CaseInsensitive) == 0;
            });
            if (named != voices.end()) engine_->setVoice(*named);
        }
        engine_->say(text);
    }

    void stop() {
        if (engine_) engine_->stop();
    }

  private:
    // British English where the engine has it (the words are British), else any English.
    void chooseEnglish() {
        const QList<QLocale> locales = engine_->availableLocales();
        for (const QLocale& wanted :
             {QLocale(QLocale::English, QLocale::UnitedKingdom), QLocale(QLocale::English)}) {
            const auto found = std::find_if(locales.begin(), locales.end(), [&](const QLocale& l) {
                return l == wanted || (wanted.territory() == QLocale::AnyTerritory &&
                                       l.language() == QLocale::English);
            });
            if (found != locales.end()) {
                engine_->setLocale(*found);
                return;
            }
        }
    }

    Tell tell_;
    QTextToSpeech* engine_ = nullptr;
    bool failed_ = false;
};

QtSpeech::QtSpeech() : thread_(new QThread) {
    thread_->setObjectName(QStringLiteral("speech"));
}

// The engine is ended on its own thread, waited for a few seconds at most: a speech service that
// does not answer never keeps the program from closing (the thread is then left to the exit).
QtSpeech::~QtSpeech() {
    if (worker_) {
        SpeechWorker* worker = worker_;
        QMetaObject::invokeMethod(worker, [worker] { delete worker; });
        thread_->quit();
        if (!thread_->wait(QDeadlineTimer(3000))) return;
    }
    delete thread_;
}

void QtSpeech::startThread() {
    if (worker_) return;
    worker_ = new SpeechWorker([this](State state, const QString& reason) {
        QMetaObject::invokeMethod(
            this, [this, state, reason] { tell(state, reason); }, Qt::QueuedConnection);
    });
    worker_->moveToThread(thread_);
    thread_->start();
}

void QtSpeech::say(const QString& text, const SpeechVoice& voice) {
    startThread();
    SpeechWorker* worker = worker_;
    QMetaObject::invokeMethod(worker, [worker, text, voice] { worker->say(text, voice); });
}

void QtSpeech::stop() {
    if (!worker_) return;
    SpeechWorker* worker = worker_;
    QMetaObject::invokeMethod(worker, [worker] { worker->stop(); });
}

void QtSpeech::warmUp() {
    startThread();
    SpeechWorker* worker = worker_;
    QMetaObject::invokeMethod(worker, [worker] { worker->start(); });
}

void QtSpeech::listen(QObject* context, Listener listener) {
    listeners_.emplace_back(context, std::move(listener));
}

void QtSpeech::tell(State state, const QString& reason) {
    static const char* const names[] = {"Ready", "Speaking", "Unavailable"};
    qCInfo(speechLog) << "state" << names[int(state)] << reason;
    std::erase_if(listeners_, [](const auto& entry) { return entry.first.isNull(); });
    const auto listeners = listeners_; // a listener may add another
    for (const auto& [context, listener] : listeners)
        if (context) listener(state, reason);
}

} // namespace corvane
