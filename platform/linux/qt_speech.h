// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

#include "core/services/speech.h"

#include <QThread>

class SpeechWorker;

// The reminders' voice through Qt TextToSpeech, which speaks through speech-dispatcher here.
// The engine lives on a thread of its own: connecting to speech-dispatcher starts it when it is
// not running and waits for it (two seconds and more), which must never hold up the window or
// the second tick. A Chinese voice is looked for at the first prepare() or say(); without one,
// or without speech-dispatcher, nothing is said and nothing reported but a line on standard error.
class QtSpeech final : public Speech {
    Q_OBJECT
public:
    explicit QtSpeech(QObject* parent = nullptr);
    ~QtSpeech() override;

    bool available() const override { return m_state == State::Ready; }
    void prepare() override;
    void say(const QString& text) override;
    void stop() override;
    bool speaking() const override { return m_unfinished > 0; }

private:
    enum class State { NotLooked, Looking, Ready, None };
    void found(bool voice);
    void spoken();
    void finishLater();

    State m_state = State::NotLooked;
    QThread* m_thread = nullptr;
    SpeechWorker* m_worker = nullptr;
    QString m_waiting; // said while the voice was still looked for
    bool m_hasWaiting = false;
    int m_unfinished = 0;
};
