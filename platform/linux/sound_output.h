// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

#include "core/services/audio_output.h"

#include <QObject>

class QSoundEffect;

// Plays prompts through Qt Multimedia (PulseAudio or PipeWire here).
class SoundOutput final : public QObject, public AudioOutput {
    Q_OBJECT
public:
    explicit SoundOutput(QObject* parent = nullptr);
    ~SoundOutput() override;

    void play(const QString& path) override;
    void close() override;
    // At the end of the program: stops the player and destroys it with its stream. Qt 6.4 tears
    // its sound service down after main() returns, in its static destructors, racing
    // PulseAudio's thread (that has aborted the program in PulseAudio). So from here on, once
    // main() has returned and its objects are gone, the process ends with main's status before
    // any library's static teardown; a LeakSanitizer build checks for leaks first.
    void release();

private:
    void reportStatus();

    QSoundEffect* m_effect = nullptr;
    QString m_openPath;
    bool m_warnedNoOutput = false;
};
