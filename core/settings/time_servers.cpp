// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/time_servers.h"

using namespace Qt::StringLiterals;

std::unique_ptr<QSettings> openToolSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, u"tickbell"_s, u"tools"_s);
}

namespace TimeServers {

QStringList defaults()
{
    return {u"ntp.aliyun.com"_s, u"ntp.tencent.com"_s, u"ntp.ntsc.ac.cn"_s, u"cn.pool.ntp.org"_s};
}

QStringList read(const QSettings& settings)
{
    return settings.value(QLatin1String(kKey), defaults()).toStringList();
}

} // namespace TimeServers
