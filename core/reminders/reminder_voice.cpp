// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/reminders/reminder_voice.h"

#include "core/services/audio_output.h"
#include "core/services/speech.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcVoice, "tickbell.reminders.voice")

ReminderVoice::ReminderVoice(AudioOutput& audio, Speech& speech, QString chimePath, QObject* parent)
    : QObject(parent), m_audio(audio), m_speech(speech), m_chimePath(std::move(chimePath))
{
    m_chimeTimer.setSingleShot(true);
    m_chimeTimer.setInterval(kChimeMs);
    m_speechGuard.setSingleShot(true);
    connect(&m_chimeTimer, &QTimer::timeout, this, &ReminderVoice::chimeOver);
    connect(&m_speechGuard, &QTimer::timeout, this, [this] {
        qCWarning(lcVoice, "the voice did not finish in %d ms: stopped", m_speechGuard.interval());
        m_speech.stop();
        speechOver();
    });
    connect(&m_speech, &Speech::finished, this, &ReminderVoice::speechFinished);
}

int ReminderVoice::longestSpeechMs(const QString& text)
{
    // A slow voice reads three or four characters a second; the service may need to start first.
    return qMin(5000 + 500 * int(text.size()), 60000);
}

void ReminderVoice::setTiming(int chimeMs, int speechLimitMs)
{
    m_chimeTimer.setInterval(chimeMs);
    m_speechLimitMs = speechLimitMs;
}

void ReminderVoice::tell(const QString& text)
{
    m_waiting << text;
    if (m_step == Step::Idle)
        next();
}

void ReminderVoice::next()
{
    if (m_waiting.isEmpty()) {
        m_step = Step::Idle;
        emit done();
        return;
    }
    m_text = m_waiting.takeFirst();
    m_step = Step::Chime;
    // The voice is looked for while the chime sounds.
    m_speech.prepare();
    m_audio.play(m_chimePath);
    m_chimeTimer.start();
}

void ReminderVoice::chimeOver()
{
    // The output is the prompts': free again, and the next chime starts afresh.
    m_audio.close();
    m_step = Step::Speech;
    ++m_unfinished;
    m_speechGuard.start(m_speechLimitMs > 0 ? m_speechLimitMs : longestSpeechMs(m_text));
    m_speech.say(m_text);
}

void ReminderVoice::speechFinished()
{
    m_unfinished = qMax(0, m_unfinished - 1);
    if (m_step == Step::Speech && m_unfinished == 0)
        speechOver();
}

void ReminderVoice::speechOver()
{
    m_speechGuard.stop();
    next();
}

void ReminderVoice::stop()
{
    if (m_step == Step::Idle)
        return;
    m_waiting.clear();
    m_chimeTimer.stop();
    m_speechGuard.stop();
    if (m_step == Step::Chime)
        m_audio.close();
    else
        m_speech.stop();
    m_step = Step::Idle;
    emit done();
}
