// SPDX-License-Identifier: GPL-3.0-or-later
// The real speech engine (speech-dispatcher with espeak-ng, or flite) starts speaking what it is
// given; run by tests/speech_home.sh, which sends the sound nowhere. Skipped where no speech
// engine is installed.
#include "platform/qt_speech.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace corvane;

class RealSpeechTest : public QObject {
    Q_OBJECT
  private slots:
    void speaksThenStops() {
        QtSpeech speech;
        QObject context;
        QList<Speech::State> states;
        QString reason;
        speech.listen(&context, [&](Speech::State state, const QString& why) {
            states << state;
            reason = why;
        });
        QElapsedTimer clock;
        clock.start();
        speech.say(QStringLiteral("three quarters of twenty-eight is twenty-one"), {});
        // The call returned at once: the engine starts on its own thread.
        QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(!states.isEmpty(), 15000);
        if (states.front() == Speech::State::Unavailable)
            QSKIP(qPrintable("no speech engine: " + reason));
        QCOMPARE(states.front(), Speech::State::Speaking);
        speech.stop();
        QTRY_COMPARE_WITH_TIMEOUT(states.back(), Speech::State::Ready, 5000);
    }
};

QTEST_GUILESS_MAIN(RealSpeechTest)
#include "speech_engine_check.moc"
