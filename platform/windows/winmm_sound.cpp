// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/winmm_sound.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <windows.h>

#include <mmsystem.h>

Q_LOGGING_CATEGORY(lcSound, "tickbell.sound")

WinmmSound::~WinmmSound()
{
    close();
}

void WinmmSound::play(const QString& path)
{
    if (!m_openPath.isEmpty() && m_openPath == path)
        return; // the same prompt is still open: let it play on
    // Remembered even when it cannot play: a prompt asked for on every tick is judged once.
    m_openPath = path;
    // The last sound stops before its memory goes.
    PlaySoundW(nullptr, nullptr, 0);
    m_playing.clear();
    if (!QFileInfo(path).isFile()) {
        qCWarning(lcSound, "prompt file missing: %s", qUtf8Printable(path));
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcSound, "cannot read %s: %s", qUtf8Printable(path), qUtf8Printable(file.errorString()));
        return;
    }
    if (waveOutGetNumDevs() == 0 && !m_warnedNoDevice) {
        qCWarning(lcSound, "no sound device found: voice prompts will be silent");
        m_warnedNoDevice = true;
    }
    m_playing = file.readAll();
    if (!PlaySoundW(reinterpret_cast<LPCWSTR>(m_playing.constData()), nullptr,
                    SND_MEMORY | SND_ASYNC | SND_NODEFAULT)) {
        qCWarning(lcSound, "cannot play %s", qUtf8Printable(path));
        m_playing.clear();
    }
}

void WinmmSound::close()
{
    PlaySoundW(nullptr, nullptr, 0);
    m_playing.clear();
    m_openPath.clear();
}
