// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/commands/launch_targets.h"

using namespace Qt::StringLiterals;

namespace LaunchTargets {

bool isWebPage(LaunchTarget target)
{
    switch (target) {
    case LaunchTarget::NewsPage:
    case LaunchTarget::QuotesPage:
    case LaunchTarget::UpdatePage:
    case LaunchTarget::FeedbackPage: return true;
    default: return false;
    }
}

QString webAddress(LaunchTarget target, const QString& SoftVer1)
{
    const QString news = u"http://"_s + QStringView(kNewsHost);
    const QString quotes = u"http://"_s + QStringView(kQuotesHost);
    const QString project = u"http://"_s + QStringView(kProjectHost);
    switch (target) {
    case LaunchTarget::NewsPage: return news + u"/scroll/now.htm"_s;
    case LaunchTarget::QuotesPage:
        return quotes + u"/hq/dzh.swf?AutoIndexbar=2&resource_root="_s + quotes + u"/hq/"_s;
    case LaunchTarget::UpdatePage: return project + u"/showpluspic.asp?id=47&softver="_s + SoftVer1;
    case LaunchTarget::FeedbackPage:
        return project + u"/first02.asp?content=就插件程序ID为47的说两句，程序名称为：OrroTickbellv"_s +
               SoftVer1 + u"………………我说：&m=#3"_s;
    default: return {};
    }
}

QUrl webUrl(const QString& address)
{
    return QUrl(address, QUrl::TolerantMode);
}

QString toolRelativePath(LaunchTarget target)
{
    switch (target) {
    case LaunchTarget::ClockTool: return u"plug/clocktool.exe"_s;
    case LaunchTarget::Calculator: return u"plug/abacus.exe"_s;
    case LaunchTarget::SwitchCalculator: return u"plug/posmover.exe"_s;
    case LaunchTarget::LimitUpCalculator: return u"plug/ceilprice.exe"_s;
    case LaunchTarget::QuickShutdown: return u"plug/poweroff.exe"_s;
    default: return {};
    }
}

QString toolPath(const QString& programFolder, LaunchTarget target)
{
    return programFolder + u'/' + toolRelativePath(target);
}

} // namespace LaunchTargets
