// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/linux/system_bus_call.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
// Long enough for the user to answer polkit's password dialog.
constexpr int kAnswerTimeoutMs = 5 * 60 * 1000;
// A property is read without asking anyone.
constexpr int kReadTimeoutMs = 10 * 1000;
} // namespace

void callSystemService(QDBusMessage call, QObject* context, const QLoggingCategory& category,
                       std::function<QString(const QDBusError&)> failureText,
                       std::function<void(const QString&)> done)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        const QString why = u"无法连接系统总线（%1）"_s.arg(bus.lastError().message());
        qCWarning(category, "%s", qUtf8Printable(why));
        QTimer::singleShot(0, context, [done, why] { done(why); });
        return;
    }
    call.setInteractiveAuthorizationAllowed(true);
    qCInfo(category, "asking %s.%s", qUtf8Printable(call.service()), qUtf8Printable(call.member()));
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, &category, failureText, done] {
                         watcher->deleteLater();
                         if (watcher->isError()) {
                             qCWarning(category, "refused: %s: %s", qUtf8Printable(watcher->error().name()),
                                       qUtf8Printable(watcher->error().message()));
                             done(failureText(watcher->error()));
                         } else {
                             done({});
                         }
                     });
}

void readSystemProperty(const QString& service, const QString& path, const QString& interface,
                        const QString& name, QObject* context, const QLoggingCategory& category,
                        std::function<void(std::optional<QVariant>)> done)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        qCWarning(category, "no system bus: %s", qUtf8Printable(bus.lastError().message()));
        QTimer::singleShot(0, context, [done] { done(std::nullopt); });
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    call << interface << name;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kReadTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [watcher, &category, name, done] {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        if (watcher->isError() || reply.arguments().isEmpty()) {
            qCWarning(category, "cannot read %s: %s", qUtf8Printable(name),
                      qUtf8Printable(watcher->error().message()));
            done(std::nullopt);
            return;
        }
        done(qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant());
    });
}
