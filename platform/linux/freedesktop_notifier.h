// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

#include "platform/desktop_notifier.h"

#include <QDBusConnection>
#include <QObject>

class QDBusServiceWatcher;

// The desktop's notifications through org.freedesktop.Notifications on the session bus (dunst,
// GNOME Shell, KDE Plasma, xfce4-notifyd...). Nothing here waits for the bus: whether the
// service is there is learnt in the background (asked once, then followed as it comes and
// goes) and kept, and a notification is asked for without waiting for the answer, so a slow
// service or bus never holds up the second's tick.
class FreedesktopNotifier final : public QObject, public DesktopNotifier {
public:
    explicit FreedesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                                 QObject* parent = nullptr);

    // The service runs, or the bus starts it when asked: as last learnt.
    bool available() override { return m_running || m_activatable; }
    void notify(const QString& summary, const QString& body) override;

private:
    void ask(const QString& method, const QVariantList& arguments,
             std::function<void(const QVariant&)> answer);

    QDBusConnection m_bus;
    QDBusServiceWatcher* m_watcher = nullptr;
    bool m_running = false;
    bool m_activatable = false;
    bool m_warned = false;
};
