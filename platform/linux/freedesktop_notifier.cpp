// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/freedesktop_notifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QLoggingCategory>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcNotify, "tickbell.notify")

namespace {

const QString kService = u"org.freedesktop.Notifications"_s;

} // namespace

FreedesktopNotifier::FreedesktopNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus))
{
    if (!m_bus.isConnected())
        return;
    m_watcher = new QDBusServiceWatcher(kService, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) { m_running = !owner.isEmpty(); });
    ask(u"NameHasOwner"_s, {kService}, [this](const QVariant& v) { m_running = m_running || v.toBool(); });
    ask(u"ListActivatableNames"_s, {},
        [this](const QVariant& v) { m_activatable = v.toStringList().contains(kService); });
}

void FreedesktopNotifier::ask(const QString& method, const QVariantList& arguments,
                              std::function<void(const QVariant&)> answer)
{
    QDBusMessage call = QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s,
                                                       u"org.freedesktop.DBus"_s, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [answer = std::move(answer)](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                const QDBusMessage reply = done->reply();
                if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                    answer(reply.arguments().constFirst());
            });
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
