// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

#include "platform/desktop_tray.h"

#include <QTimer>

// Both trays Qt knows on Linux: the status-notifier watcher on the session bus, followed as its
// name changes hands and its hosts come and go, and the X11 tray, whose owner of the
// _NET_SYSTEM_TRAY_S0 selection is looked at every two seconds (an X11 tray announces itself
// only to those who listen on the root window).
class DesktopTrayWatch final : public DesktopTray {
    Q_OBJECT
public:
    explicit DesktopTrayWatch(QObject* parent = nullptr);

    bool notifierWatcher() const override { return m_watcherOwned; }
    bool x11Tray() const override { return m_x11Tray != 0; }
    bool dock(QWindow* window) override;

private:
    void look();

    bool m_watcherOwned = false;
    quint32 m_x11Tray = 0; // the X11 tray's selection owner; 0: none
    quint32 m_selection = 0;
    quint32 m_opcode = 0;
    QTimer m_poll;
};
