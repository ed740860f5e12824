// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Windows build's SystemServices, found before app/system_services.h (cmake/Windows.cmake),
// so that main.cpp and app/system_services.cpp build unchanged on the services that
// makePlatformServices() of platform/windows makes. Goes once main.cpp calls
// makePlatformServices() itself.

#include "app/main_window.h"
#include "platform/platform_services.h"
#include "settings/config_location.h"

#include <functional>
#include <memory>

class SystemServices {
public:
    SystemServices();

    Form1Services make(const QString& programFolder, const ConfigLocation& config,
                       std::function<void(const QString&)> tell);

    const Clock& clock() const { return m_clock; }

    // main.cpp's "audio().release()" at the end.
    class Audio {
    public:
        explicit Audio(PlatformServices& platform) : m_platform(platform) {}
        void release() { m_platform.releaseAudio(); }

    private:
        PlatformServices& m_platform;
    };
    Audio audio() { return Audio(*m_platform); }

private:
    std::unique_ptr<PlatformServices> m_platform;
    // The names app/system_services.cpp uses.
    const Clock& m_clock;
    AudioOutput& m_audio;
    Launcher& m_launcher;
    WindowStacking& m_stacking;
};
