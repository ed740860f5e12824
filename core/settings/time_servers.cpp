// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/time_servers.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

std::unique_ptr<QSettings> openToolSettings(const QString& folder, QString* problem)
{
    const QString path = folder + u"/tools.ini"_s;
    if (!QFileInfo::exists(path)) {
        const QString before =
            QSettings(QSettings::IniFormat, QSettings::UserScope, u"tickbell"_s, u"tools"_s).fileName();
        if (before != path && QFileInfo::exists(before) && !QFile::copy(before, path) && problem)
            *problem = u"could not copy %1 to %2"_s.arg(before, path);
    }
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
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
