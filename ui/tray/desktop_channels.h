// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/day/moment_notice.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class DesktopNotifier;
class DesktopSwitches;
class DesktopTray;
class Form1;
class QAction;
class QMenu;
class QTimer;
class TradingDay;
class TrayIcon;

// The reminder's second channel, for a trader whose window is covered or whose speakers are
// off: the tray icon and the desktop's notifications, switched in 编辑 > 提醒方式. Each is on
// where the desktop has it and the trader has not turned it off, and silently off (its item
// greyed) where the desktop has none; a tray that comes, goes or is replaced later (a panel
// started after the program, or ended; an X11 tray where the status-notifier host was) is
// followed within a few seconds where the platform watches it, else within a minute. The year's calendar
// notice goes to the window's notice line and to a notification, once a day at most.
class DesktopChannels : public QObject {
    Q_OBJECT
public:
    // notifier: the desktop's notification service, or none where the tray carries them.
    // hasTray: whether the desktop has a tray now (Qt's own check unless a test says).
    DesktopChannels(TradingDay& day, Form1& window, DesktopSwitches& switches, DesktopNotifier* notifier,
                    std::function<bool()> hasTray = {}, QObject* parent = nullptr);
    // tray: the desktop's tray, watched (none where it never changes, as on Windows): a change
    // makes the icon anew, in the tray there is now, within a second.
    DesktopChannels(TradingDay& day, Form1& window, DesktopSwitches& switches, DesktopNotifier* notifier,
                    DesktopTray* tray);
    ~DesktopChannels() override;

    // Looks at the desktop again and shows what is switched on and there.
    void refresh();
    // A notification, when they are switched on and the desktop shows them.
    void notify(const DesktopNotice& notice);

    // The tray icon, once it was first needed.
    TrayIcon* tray() const { return m_tray.get(); }

    QMenu* menu = nullptr;                // 提醒方式
    QAction* trayItem = nullptr;          // 托盘图标
    QAction* notificationsItem = nullptr; // 桌面通知
    QAction* closeToTrayItem = nullptr;   // 关闭时隐藏到托盘

private:
    DesktopChannels(TradingDay& day, Form1& window, DesktopSwitches& switches, DesktopNotifier* notifier,
                    std::function<bool()> hasTray, DesktopTray* tray, QObject* parent);
    TrayIcon& makeTray();
    bool notificationsHere();

    TradingDay& m_day;
    Form1& m_window;
    DesktopSwitches& m_switches;
    DesktopNotifier* m_notifier;
    std::function<bool()> m_hasTray;
    DesktopTray* m_desktopTray = nullptr;
    // Qt binds its tray icons to the status-notifier tray or the X11 tray when it makes its
    // first, for the run.
    std::optional<bool> m_qtOnBus;
    std::unique_ptr<TrayIcon> m_tray;
    QTimer* m_lookAgain = nullptr;
    QTimer* m_retray = nullptr; // a change comes in a burst of signals: one new icon for it
};
