// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/windows/windows_backend.h"

#include "core/services/speech.h"

#include <QTimer>

struct ISpVoice;

// The reminders' voice through SAPI 5 (COM), Windows' own: a Chinese voice where the system has
// one (Chinese Windows has Huihui), reading in the background. Without one, or when COM or the
// voice fails, nothing is said and nothing shown but a line on standard error.
class SapiSpeech final : public Speech {
    Q_OBJECT
public:
    explicit SapiSpeech(QObject* parent = nullptr);
    ~SapiSpeech() override;

    bool available() const override { return m_voice != nullptr; }
    void prepare() override;
    void say(const QString& text) override;
    void stop() override;
    bool speaking() const override { return m_unfinished > 0; }

private:
    void poll();
    void finishLater();
    void spoken();

    bool m_looked = false;
    bool m_comStarted = false; // ours to end
    ISpVoice* m_voice = nullptr;
    bool m_active = false;
    int m_unfinished = 0;
    QTimer m_poll;
};
