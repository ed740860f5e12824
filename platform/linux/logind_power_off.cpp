// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/power_off.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QLoggingCategory>
#include <QTimer>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcPower, "tickbell.power")

namespace {

// Long enough for the user to answer polkit's password dialog.
constexpr int kAnswerTimeoutMs = 5 * 60 * 1000;

QString refusalText(const QDBusError& e)
{
    const QString name = e.name();
    if (name == u"org.freedesktop.DBus.Error.AccessDenied"_s ||
        name == u"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"_s)
        return u"系统不允许这个用户关机"_s;
    if (name == u"org.freedesktop.DBus.Error.ServiceUnknown"_s ||
        name == u"org.freedesktop.DBus.Error.NameHasNoOwner"_s)
        return u"本机没有运行 systemd-logind，无法这样关机"_s;
    if (name == u"org.freedesktop.DBus.Error.NoReply"_s || name == u"org.freedesktop.DBus.Error.Timeout"_s)
        return u"系统没有回答关机请求"_s;
    return u"系统拒绝了关机请求（%1）"_s.arg(e.message().isEmpty() ? name : e.message());
}

// logind's PowerOff, as the desktop's own Shut down calls it: interactive, so that polkit may
// ask the user, and with no root needed.
class LogindPowerOff final : public PowerOff {
public:
    void requestPowerOff(QObject* context, std::function<void(const QString&)> done) override
    {
        QDBusConnection bus = QDBusConnection::systemBus();
        if (!bus.isConnected()) {
            const QString why = u"无法连接系统总线（%1）"_s.arg(bus.lastError().message());
            qCWarning(lcPower, "%s", qUtf8Printable(why));
            QTimer::singleShot(0, context, [done, why] { done(why); });
            return;
        }
        QDBusMessage call =
            QDBusMessage::createMethodCall(u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s,
                                           u"org.freedesktop.login1.Manager"_s, u"PowerOff"_s);
        call << true;
        call.setInteractiveAuthorizationAllowed(true);
        qCInfo(lcPower, "asking logind to power off");
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerTimeoutMs), context);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [watcher, done] {
            watcher->deleteLater();
            if (watcher->isError()) {
                qCWarning(lcPower, "logind refused: %s: %s", qUtf8Printable(watcher->error().name()),
                          qUtf8Printable(watcher->error().message()));
                done(refusalText(watcher->error()));
            } else {
                done({});
            }
        });
    }
};

} // namespace

std::unique_ptr<PowerOff> makeSystemPowerOff()
{
    return std::make_unique<LogindPowerOff>();
}
