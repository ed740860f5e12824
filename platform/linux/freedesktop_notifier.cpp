// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/freedesktop_notifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcNotify, "tickbell.notify")

namespace {

const QString kService = u"org.freedesktop.Notifications"_s;

} // namespace

FreedesktopNotifier::FreedesktopNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus))
{
}

bool FreedesktopNotifier::available()
{
    if (!m_bus.isConnected())
        return false;
    QDBusConnectionInterface* bus = m_bus.interface();
    if (bus->isServiceRegistered(kService).value())
        return true;
    const QDBusReply<QStringList> activatable = bus->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(kService);
}

void FreedesktopNotifier::notify(const QString& summary, const QString& body)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, u"/org/freedesktop/Notifications"_s, kService, u"Notify"_s);
    const QVariantMap hints{
        {u"desktop-entry"_s, u"org.tickbell.Tickbell"_s},
        {u"urgency"_s, QVariant::fromValue(uchar(1))}, // normal: it goes by itself
    };
    call << u"Tickbell"_s << 0u << u"org.tickbell.Tickbell"_s << summary << body << QStringList() << hints
         << kNotificationShownMs;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        const QDBusPendingReply<uint> reply = *done;
        if (reply.isError() && !m_warned) {
            m_warned = true; // once a run: the next key moment would only say it again
            qCWarning(lcNotify, "the desktop did not take a notification: %s",
                      qUtf8Printable(reply.error().message()));
        }
    });
}
