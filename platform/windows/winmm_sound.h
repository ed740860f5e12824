// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/windows/windows_backend.h"

#include "core/services/audio_output.h"

#include <QByteArray>
#include <QString>

// Plays prompts with winmm's PlaySoundW in the background. Windows plays one such sound per
// process, and a new one stops the last: the prompt rules need nothing more. The file is read
// into memory and played from there, because Wine hands a file name on through the ANSI code
// page, which loses the Chinese names of the prompts.
class WinmmSound final : public AudioOutput {
public:
    ~WinmmSound() override;

    void play(const QString& path) override;
    void close() override;

private:
    QString m_openPath;
    QByteArray m_playing; // winmm reads it until the sound is stopped
    bool m_warnedNoDevice = false;
};
