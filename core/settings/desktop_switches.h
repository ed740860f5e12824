// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QVariant>

class ProgramOptions;

// The trader's choices of the desktop's channels (编辑 > 提醒方式), remembered in tickbell.ini.
// The tray icon and the notifications are on until he turns them off; they only show where the
// desktop has a tray or a notification service, which the windows find out. 关闭 minimises the
// window, as the design has it, until he chooses the tray instead.
class DesktopSwitches {
public:
    explicit DesktopSwitches(ProgramOptions& options) : m_options(options) {}

    bool trayIcon() const;
    void setTrayIcon(bool on);
    bool notifications() const;
    void setNotifications(bool on);
    bool closeToTray() const;
    void setCloseToTray(bool on);

    // The year's calendar notice comes once a day at most: true the first time on a day (and
    // noted), false after that, also after a restart.
    bool takeCalendarNotice(QDate today);

private:
    bool flag(const char* key, bool fallback) const;
    void set(const char* key, const QVariant& value);

    ProgramOptions& m_options;
};
