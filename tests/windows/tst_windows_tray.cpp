// SPDX-License-Identifier: GPL-3.0-or-later
// The tray and the notifications on Windows, where a program's notifications come from its icon
// in the notification area (Qt's QSystemTrayIcon), under Wine on a test desktop
// (tests/windows/e2e.sh): with no tray on the X display, Wine shows the area's icons in a window
// of its own, and a notification as a balloon that holds its text.
#include "core/settings/desktop_switches.h"
#include "core/settings/program_options.h"
#include "fakes/form1_fixture.h"
#include "ui/tray/desktop_channels.h"
#include "ui/tray/tray_icon.h"

#include <QTest>

#include <windows.h>

#include <commctrl.h>

using namespace Qt::StringLiterals;

namespace {

struct Found {
    bool tray = false;
    QStringList balloons;
};

BOOL CALLBACK look(HWND window, LPARAM result)
{
    auto* found = reinterpret_cast<Found*>(result);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    const QString kind = QString::fromWCharArray(name);
    if (!IsWindowVisible(window))
        return TRUE;
    if (kind == u"__winex11_standalone_tray"_s)
        found->tray = true;
    if (kind == QString::fromWCharArray(TOOLTIPS_CLASSW) &&
        (GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON)) {
        // Another process's window: its text comes through the message, which Windows carries over.
        wchar_t text[512] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000,
                            &length);
        found->balloons << QString::fromWCharArray(text, int(length));
    }
    return TRUE;
}

Found desktop()
{
    Found found;
    EnumWindows(look, reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

class TestWindowsTray : public QObject {
    Q_OBJECT

private slots:
    // Without a notification service of the system's own, the auction's notification goes through
    // the tray icon, which is added first.
    void iconAddedAndNotificationAsked()
    {
        QVERIFY(QSystemTrayIcon::isSystemTrayAvailable());
        QVERIFY(QSystemTrayIcon::supportsMessages());
        QVERIFY(!desktop().tray);
        Form1Fixture f;
        f.clock.set(QDateTime(QDate(2010, 2, 12), QTime(9, 19, 59)));
        f.writeDefaultConfig(QByteArray());
        Form1& w = f.create();
        ProgramOptions options(f.folder.path());
        DesktopSwitches switches(options);
        DesktopChannels channels(*f.day, w, switches, nullptr);
        QVERIFY(channels.tray() && channels.tray()->isVisible());
        QTRY_VERIFY(desktop().tray);

        f.clock.set(QDateTime(QDate(2010, 2, 12), QTime(9, 20)));
        f.day->tick();
        QTRY_VERIFY_WITH_TIMEOUT(desktop().balloons.contains(u"注意：当前是开盘前十分钟的机构竞价时间。"_s),
                                 10000);
    }
};

QTEST_MAIN(TestWindowsTray)
#include "tst_windows_tray.moc"
