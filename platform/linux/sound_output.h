// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/backend.h"

#include "platform/audio_output.h"

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
    // Stops and destroys the player, before the program ends.
    void release();

private:
    void reportStatus();

    QSoundEffect* m_effect = nullptr;
    QString m_openPath;
    bool m_warnedNoOutput = false;
};
