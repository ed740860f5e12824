// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/audio_output.h"
#include "core/services/clock.h"
#include "core/services/code_page.h"
#include "core/services/launcher.h"
#include "core/services/speech.h"
#include "platform/desktop_notifier.h"
#include "platform/desktop_tray.h"
#include "platform/window_stacking.h"

#include <memory>

// The real services of the operating system the program runs on. Each backend folder
// (platform/linux, platform/windows) provides makePlatformServices(); CMake builds one of
// them. Only the program's and the tools' start-up call it; everything else sees the
// interfaces. The tests' backend is platform/dummy.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;
    virtual const Clock& clock() const = 0;
    virtual const CodePage& codePage() const = 0;
    virtual AudioOutput& audio() = 0;
    virtual Launcher& launcher() = 0;
    // The system's voice for the trader's reminders.
    virtual Speech& speech() = 0;
    virtual WindowStacking& stacking() = 0;
    // The desktop's notification service, or none where the system shows a program's
    // notifications only through its tray icon (Windows' notification area): the tray then
    // carries them.
    virtual DesktopNotifier* notifier() = 0;
    // The desktop's tray, watched; none where it never changes under the program (Windows'
    // notification area).
    virtual DesktopTray* desktopTray() { return nullptr; }
    // Makes a request from the system to stop (a signal, the end of the session) end the
    // event loop as Exit does. Call once the application object exists.
    virtual void quitOnSystemRequests() = 0;
    // Stops the prompt and lets go of the sound system before the program ends.
    virtual void releaseAudio() = 0;
    // While the end of the session waits for the trader's answer about unsaved changes: why, for
    // the system to show beside the program (Windows' shutdown screen lists it); empty when it no
    // longer waits. window: the native id of the window that asks. Elsewhere nothing shows it.
    virtual void explainSessionWait(quintptr window, const QString& why)
    {
        Q_UNUSED(window);
        Q_UNUSED(why);
    }
};

std::unique_ptr<PlatformServices> makePlatformServices();
// The system's code page alone, for the tools, which need nothing else of it.
std::unique_ptr<CodePage> makeSystemCodePage();
