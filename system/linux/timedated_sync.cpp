// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/time_sync.h"

#include "system/linux/system_bus_call.h"

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcTime, "tickbell.time")

namespace {

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
    void isSyncOn(QObject* context, std::function<void(std::optional<bool>)> done) override
    {
        readSystemProperty(u"org.freedesktop.timedate1"_s, u"/org/freedesktop/timedate1"_s,
                           u"org.freedesktop.timedate1"_s, u"NTP"_s, context, lcTime(),
                           [done](std::optional<QVariant> on) {
                               done(on ? std::optional<bool>(on->toBool()) : std::nullopt);
                           });
    }

    void requestSync(QObject* context, std::function<void(const QString&)> done) override
    {
        QDBusMessage call =
            QDBusMessage::createMethodCall(u"org.freedesktop.timedate1"_s, u"/org/freedesktop/timedate1"_s,
                                           u"org.freedesktop.timedate1"_s, u"SetNTP"_s);
        call << true << true; // use network time; interactive
        callSystemService(call, context, lcTime(), failureText, std::move(done));
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
