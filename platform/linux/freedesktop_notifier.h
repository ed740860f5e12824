// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

#include "platform/desktop_notifier.h"

#include <QDBusConnection>
#include <QObject>

// The desktop's notifications through org.freedesktop.Notifications on the session bus (dunst,
// GNOME Shell, KDE Plasma, xfce4-notifyd...), asked without waiting for an answer, so that a
// slow service never holds up the second's tick.
class FreedesktopNotifier final : public QObject, public DesktopNotifier {
public:
    explicit FreedesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                                 QObject* parent = nullptr);

    // The service runs, or the bus starts it when asked.
    bool available() override;
    void notify(const QString& summary, const QString& body) override;

private:
    QDBusConnection m_bus;
    bool m_warned = false;
};
