// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform_services.h"

#include "platform/windows/sapi_speech.h"
#include "platform/windows/session_end.h"
#include "platform/windows/shell_launcher.h"
#include "platform/windows/window_layer_windows.h"
#include "platform/windows/windows_code_page.h"
#include "platform/windows/winmm_sound.h"

namespace {

class WindowsPlatformServices final : public PlatformServices {
public:
    const Clock& clock() const override { return m_clock; }
    const CodePage& codePage() const override { return m_codePage; }
    AudioOutput& audio() override { return m_audio; }
    Launcher& launcher() override { return m_launcher; }
    Speech& speech() override { return m_speech; }
    WindowStacking& stacking() override { return m_stacking; }
    // A program's notifications come from its icon in the notification area: the tray's.
    DesktopNotifier* notifier() override { return nullptr; }
    void quitOnSystemRequests() override { quitAtEndOfSession(); }
    void releaseAudio() override { m_audio.close(); }
    void explainSessionWait(quintptr window, const QString& why) override
    {
        explainEndOfSessionWait(window, why);
    }

private:
    SystemClock m_clock;
    WindowsCodePage m_codePage;
    WinmmSound m_audio;
    ShellLauncher m_launcher;
    WindowsWindowLayer m_stacking;
    SapiSpeech m_speech;
};

} // namespace

std::unique_ptr<PlatformServices> makePlatformServices()
{
    return std::make_unique<WindowsPlatformServices>();
}

std::unique_ptr<CodePage> makeSystemCodePage()
{
    return std::make_unique<WindowsCodePage>();
}
