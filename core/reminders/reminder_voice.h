// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class AudioOutput;
class Speech;

// Tells the trader's reminders by voice: a short chime through the prompts' sound output, then
// the text read by the system's voice where it has a Chinese one (the chime alone where not).
// Reminders told while one is being told wait their turn. The chime takes the prompts' output,
// so tell() when no design prompt plays; done says when the output and the voice are free again.
class ReminderVoice : public QObject {
    Q_OBJECT
public:
    // In the program folder's sound/, beside the prompts (assets/sound/make-prompts.sh).
    static constexpr auto kChimeFile = "我的提醒.wav";
    // The chime's length with a breath after it: the text follows then.
    static constexpr int kChimeMs = 1000;

    ReminderVoice(AudioOutput& audio, Speech& speech, QString chimePath, QObject* parent = nullptr);

    void tell(const QString& text);
    // From a tell() until done.
    bool busy() const { return m_step != Step::Idle; }
    // Stops the chime and the voice, and drops what waits; done follows (when busy).
    void stop();

    // How long the voice may take over a text before it is taken for stuck and stopped (a
    // speech service that lost its sound server never says it is done).
    static int longestSpeechMs(const QString& text);
    // Shorter waits, for tests: the chime's, and a fixed limit for the voice (0: by the text).
    void setTiming(int chimeMs, int speechLimitMs);

signals:
    // All told: the sound output and the voice are free.
    void done();

private:
    enum class Step { Idle, Chime, Speech };
    void next();
    void chimeOver();
    void speechFinished();
    void speechOver();

    AudioOutput& m_audio;
    Speech& m_speech;
    QString m_chimePath;
    Step m_step = Step::Idle;
    QStringList m_waiting;
    QString m_text;
    int m_unfinished = 0; // say()s whose finished has not come yet
    int m_speechLimitMs = 0;
    QTimer m_chimeTimer;
    QTimer m_speechGuard;
};
