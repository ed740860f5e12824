// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// The desktop's tray, watched: a panel started or ended, a status-notifier host giving way to an
// X11 tray or the other way round. Qt chooses a tray icon's way into the tray when the icon is
// made, so an icon made before the change must be made again.
class DesktopTray : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // A tray came, went, or another took its place.
    void changed();
};
