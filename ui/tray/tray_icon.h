// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/day/market_phase.h"

#include <QObject>
#include <QSystemTrayIcon>
#include <memory>

class DesktopTray;
class DockedIcon;
class Form1;
class QAction;
class QMenu;
class QTimer;
class TradingDay;

// The program in the desktop's tray (the status-notifier tray on the session bus, the X11 tray,
// Windows' notification area): the phase's picture, the day at a glance in its tooltip, a click
// that brings the main window back, and a menu of what a trader reaches for without it.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    // dockInto: an X11 tray to dock an icon of the program's own in, where Qt's icons are bound to
    // a status-notifier tray that is gone; none: Qt's icon.
    TrayIcon(TradingDay& day, Form1& window, DesktopTray* dockInto = nullptr, QObject* parent = nullptr);
    ~TrayIcon() override;

    void setVisible(bool on);
    bool isVisible() const;
    // The program's own icon in the X11 tray, when it is that one.
    DockedIcon* docked() const { return m_docked.get(); }
    // Shows the day as it is now; the desktop hears only of what changed.
    void update();
    const TrayView& view() const { return m_view; }
    // Where the system shows a program's notifications through its icon (Windows): shows the
    // icon for the while the message stays when it is not there already.
    void showMessage(const QString& summary, const QString& body);

    QSystemTrayIcon& icon() { return m_icon; }
    QMenu& menu() { return *m_menu; }
    // The menu's items.
    QAction* showWindow = nullptr; // 显示主窗口
    QAction* voice = nullptr;      // 语音提醒, the 编辑 menu's switch
    QAction* calendar = nullptr;   // 交易日历
    QAction* exit = nullptr;       // 退出

private:
    TradingDay& m_day;
    Form1& m_window;
    std::unique_ptr<QMenu> m_menu; // a menu of no window's: the tray's own
    QSystemTrayIcon m_icon;
    DesktopTray* m_dockInto = nullptr;
    std::unique_ptr<DockedIcon> m_docked;
    TrayView m_view{MarketPhase::Closed, {}};
    bool m_pictureSet = false;
    bool m_wanted = false; // shown by choice, not only for a message
    QTimer* m_messageEnd = nullptr;
};
