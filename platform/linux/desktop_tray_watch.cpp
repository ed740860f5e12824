// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/desktop_tray_watch.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

const QString kWatcher = u"org.kde.StatusNotifierWatcher"_s;

xcb_connection_t* x11()
{
    const auto* native = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return native ? native->connection() : nullptr;
}

} // namespace

DesktopTrayWatch::DesktopTrayWatch(QObject* parent) : DesktopTray(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        m_watcher = new QDBusServiceWatcher(kWatcher, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &DesktopTray::changed);
        // A host (the panel's tray) coming to or leaving a watcher that stays.
        for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
            bus.connect(kWatcher, u"/StatusNotifierWatcher"_s, kWatcher, QLatin1String(signal), this,
                        SIGNAL(changed()));
    }
    if (xcb_connection_t* c = x11()) {
        const char name[] = "_NET_SYSTEM_TRAY_S0";
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
        if (reply) {
            m_atom = reply->atom;
            std::free(reply);
        }
    }
    if (m_atom != 0) {
        look();
        m_poll.setInterval(2000);
        connect(&m_poll, &QTimer::timeout, this, &DesktopTrayWatch::look);
        m_poll.start();
    }
}

void DesktopTrayWatch::look()
{
    xcb_connection_t* c = x11();
    if (!c)
        return;
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, m_atom), nullptr);
    const quint32 owner = reply ? reply->owner : 0;
    std::free(reply);
    if (owner == m_x11Tray)
        return;
    m_x11Tray = owner;
    emit changed();
}
