// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/main_window.h"
#include "platform/clock.h"
#include "platform/desktop_launcher.h"
#include "platform/sound_output.h"
#include "platform/window_layer.h"
#include "settings/config_location.h"

// The real platform the program runs on, and the main window's services made from it.
class SystemServices {
public:
    // Everything but the mirror: the program folder and its files, where config.txt lives,
    // the calendar with the holidays files (their problems go to standard error), and the exit.
    Form1Services make(const QString& programFolder, const ConfigLocation& config);

    const Clock& clock() const { return m_clock; }
    SoundOutput& audio() { return m_audio; }

private:
    SystemClock m_clock;
    SoundOutput m_audio;
    SystemProcessStarter m_starter;
    DesktopLauncher m_launcher{m_starter};
    WindowLayer m_stacking;
};
