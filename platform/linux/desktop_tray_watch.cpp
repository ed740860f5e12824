// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/desktop_tray_watch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QWindow>

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

quint32 atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, quint16(qstrlen(name)), name), nullptr);
    const quint32 found = reply ? reply->atom : 0;
    std::free(reply);
    return found;
}

} // namespace

DesktopTrayWatch::DesktopTrayWatch(QObject* parent) : DesktopTray(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        auto* watcher =
            new QDBusServiceWatcher(kWatcher, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString& owner) {
                    m_watcherOwned = !owner.isEmpty();
                    emit changed();
                });
        m_watcherOwned = bus.interface()->isServiceRegistered(kWatcher).value();
        // A host (the panel's tray) coming to or leaving a watcher that stays.
        for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
            bus.connect(kWatcher, u"/StatusNotifierWatcher"_s, kWatcher, QLatin1String(signal), this,
                        SIGNAL(changed()));
    }
    if (xcb_connection_t* c = x11()) {
        m_selection = atom(c, "_NET_SYSTEM_TRAY_S0");
        m_opcode = atom(c, "_NET_SYSTEM_TRAY_OPCODE");
    }
    if (m_selection != 0) {
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
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, m_selection), nullptr);
    const quint32 owner = reply ? reply->owner : 0;
    std::free(reply);
    if (owner == m_x11Tray)
        return;
    m_x11Tray = owner;
    emit changed();
}

bool DesktopTrayWatch::dock(QWindow* window)
{
    xcb_connection_t* c = x11();
    if (!c || !window || m_x11Tray == 0 || m_opcode == 0)
        return false;
    // The system tray protocol's SYSTEM_TRAY_REQUEST_DOCK, to the tray's selection owner.
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = m_x11Tray;
    request.type = m_opcode;
    request.data.data32[0] = XCB_CURRENT_TIME;
    request.data.data32[1] = 0;
    request.data.data32[2] = quint32(window->winId());
    xcb_send_event(c, 0, m_x11Tray, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&request));
    xcb_flush(c);
    return true;
}
