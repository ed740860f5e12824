// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWindow;

// The desktop's tray, watched: a panel started or ended, a status-notifier host giving way to an
// X11 tray or the other way round. Qt binds its tray icons to one kind of tray, the one there when
// it makes its first icon, for the whole run: an icon made before the change must be made again,
// and where Qt's kind has gone, the program docks an icon of its own in the X11 tray.
class DesktopTray : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The status-notifier watcher on the session bus, where a panel's tray registers.
    virtual bool notifierWatcher() const = 0;
    // An X11 tray (a system-tray manager on the screen).
    virtual bool x11Tray() const = 0;
    // Asks the X11 tray to take window as an icon; false where there is none.
    virtual bool dock(QWindow* window) = 0;

signals:
    // A tray came, went, or another took its place.
    void changed();
};
