// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/system_services.h"

#include "platform/termination.h"
#include "platform/windows/session_end.h"

SystemServices::SystemServices()
    : m_platform(makePlatformServices()), m_clock(m_platform->clock()), m_audio(m_platform->audio()),
      m_launcher(m_platform->launcher()), m_stacking(m_platform->stacking())
{
}

// main.cpp's call for the system's requests to stop: on Windows, the end of the session.
void quitOnTerminationSignals()
{
    quitAtEndOfSession();
}
