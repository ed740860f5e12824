// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform_services.h"

#include "platform/linux/desktop_launcher.h"
#include "platform/linux/desktop_tray_watch.h"
#include "platform/linux/freedesktop_notifier.h"
#include "platform/linux/qt_speech.h"
#include "platform/linux/sound_output.h"
#include "platform/linux/termination.h"
#include "platform/linux/window_layer.h"

namespace {

// Qt Multimedia on PulseAudio or PipeWire, processes without a shell and the desktop's
// openers, the window manager's stacking hints, Qt's GB18030 converter (ICU), and the
// desktop's notification service and its tray, watched; Qt TextToSpeech (speech-dispatcher) for
// the reminders' voice.
class LinuxServices final : public PlatformServices {
public:
    const Clock& clock() const override { return m_clock; }
    const CodePage& codePage() const override { return m_codePage; }
    AudioOutput& audio() override { return m_audio; }
    Launcher& launcher() override { return m_launcher; }
    Speech& speech() override { return m_speech; }
    WindowStacking& stacking() override { return m_stacking; }
    DesktopNotifier* notifier() override { return &m_notifier; }
    DesktopTray* desktopTray() override
    {
        // Once the application object is there, when the program asks.
        if (!m_tray)
            m_tray = std::make_unique<DesktopTrayWatch>();
        return m_tray.get();
    }
    void quitOnSystemRequests() override { quitOnTerminationSignals(); }
    void releaseAudio() override { m_audio.release(); }

private:
    SystemClock m_clock;
    QtCodePage m_codePage;
    SoundOutput m_audio;
    SystemProcessStarter m_starter;
    DesktopLauncher m_launcher{m_starter};
    WindowLayer m_stacking;
    FreedesktopNotifier m_notifier;
    QtSpeech m_speech;
    std::unique_ptr<DesktopTrayWatch> m_tray;
};

} // namespace

std::unique_ptr<PlatformServices> makePlatformServices()
{
    return std::make_unique<LinuxServices>();
}

std::unique_ptr<CodePage> makeSystemCodePage()
{
    return std::make_unique<QtCodePage>();
}
