// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/time_sync.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QLoggingCategory>
#include <QTimer>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcTime, "tickbell.time")

namespace {

constexpr int kAnswerTimeoutMs = 5 * 60 * 1000;

QString failureText(const QDBusError& e)
{
    const QString name = e.name();
    if (name == u"org.freedesktop.DBus.Error.AccessDenied"_s ||
        name == u"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"_s)
        return u"系统不允许这个用户更改时间设置"_s;
    if (name == u"org.freedesktop.timedate1.NoNTPSupport"_s)
        return u"本机没有网络时间同步服务，请先安装：sudo apt install systemd-timesyncd"_s;
    if (name == u"org.freedesktop.DBus.Error.ServiceUnknown"_s ||
        name == u"org.freedesktop.DBus.Error.NameHasNoOwner"_s)
        return u"本机没有 systemd-timedated 服务，无法开启网络时间同步"_s;
    return u"系统拒绝了请求（%1）"_s.arg(e.message().isEmpty() ? name : e.message());
}

// Switches on the system's network time synchronisation through systemd-timedated, which then
// corrects the clock itself; polkit asks the user where it must.
class TimedatedSync final : public TimeSync {
public:
    void requestSync(QObject* context, std::function<void(const QString&)> done) override
    {
        QDBusConnection bus = QDBusConnection::systemBus();
        if (!bus.isConnected()) {
            const QString why = u"无法连接系统总线（%1）"_s.arg(bus.lastError().message());
            qCWarning(lcTime, "%s", qUtf8Printable(why));
            QTimer::singleShot(0, context, [done, why] { done(why); });
            return;
        }
        QDBusMessage call =
            QDBusMessage::createMethodCall(u"org.freedesktop.timedate1"_s, u"/org/freedesktop/timedate1"_s,
                                           u"org.freedesktop.timedate1"_s, u"SetNTP"_s);
        call << true << true; // use network time; interactive
        call.setInteractiveAuthorizationAllowed(true);
        qCInfo(lcTime, "asking timedated to switch network time on");
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerTimeoutMs), context);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [watcher, done] {
            watcher->deleteLater();
            if (watcher->isError()) {
                qCWarning(lcTime, "timedated refused: %s: %s", qUtf8Printable(watcher->error().name()),
                          qUtf8Printable(watcher->error().message()));
                done(failureText(watcher->error()));
            } else {
                done({});
            }
        });
    }
};

} // namespace

std::unique_ptr<TimeSync> makeSystemTimeSync()
{
    return std::make_unique<TimedatedSync>();
}

std::optional<int> runElevatedTimeSync(const QStringList&)
{
    return std::nullopt; // polkit elevates inside timedated; nothing runs elevated here
}
