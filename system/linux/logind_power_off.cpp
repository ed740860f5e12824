// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/power_off.h"

#include "system/linux/system_bus_call.h"

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcPower, "tickbell.power")

namespace {

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
        QDBusMessage call =
            QDBusMessage::createMethodCall(u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s,
                                           u"org.freedesktop.login1.Manager"_s, u"PowerOff"_s);
        call << true;
        callSystemService(call, context, lcPower(), refusalText, std::move(done));
    }
};

} // namespace

std::unique_ptr<PowerOff> makeSystemPowerOff()
{
    return std::make_unique<LogindPowerOff>();
}
