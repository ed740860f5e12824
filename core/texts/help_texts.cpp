// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/texts/help_texts.h"

#include "core/commands/launch_targets.h"

using namespace Qt::StringLiterals;

namespace HelpTexts {

namespace {
const QString kTeam = u"Tickbell 项目组"_s;
// The same terms in the instructions, the about text and the user guides.
const QString kTerms =
    u"本软件版权归"_s + kTeam +
    u"所有，是自由软件，可按 GNU 通用公共许可证（第 3 版或更高版本）使用、复制、修改和传播"_s;

QString homePage()
{
    return u"http://"_s + QStringView(LaunchTargets::kProjectHost) + u'/';
}

QString contactAddress()
{
    // The project's mailbox at its own web site.
    QString host = QString::fromUtf16(LaunchTargets::kProjectHost);
    if (host.startsWith(u"www."))
        host = host.mid(4);
    return u"team@"_s + host;
}
} // namespace

Entry instructions()
{
    return {
        u"使用说明"_s,
        u"        使用说明"_s + u"BRBR1、本软件内存占用小，稳定实用。"_s + kTerms +
            u"，如发现有人传播本软件时不附源代码或许可证，请告知 "_s + contactAddress() + u"；"_s +
            u"BRBR2、在开盘前就打开本软件，将会在关键时刻听到语音提醒，如 机构竞价时间，开盘提醒，开盘后10分钟提醒，"
            "开盘后1小时提醒，收盘前5分钟提醒，收盘提醒等等；"_s +
            u"BRBR3、在菜单“编辑”“系统设置”里，可以把“买入纪律”等等一系列按钮的内容和属性改为自己的；"_s +
            u"BRBR4、窗口右上角的关闭按钮也是最小化，退出时请选择菜单里的“文件”“退出”；"_s +
            u"BRBR5、有不少快捷键可用，数字键从1至8，对应买入纪律等等这8个键，9是常用计算器，0是转仓计算器，"
            "CTRL+Q退出软件，ESC是最小化。"_s};
}

Entry author()
{
    return {u"关于作者"_s, u"BR"_s + u"作者："_s + kTeam + u"BRBR"_s + u"Q Q：无"_s + u"BR"_s + u"邮箱："_s +
                               contactAddress() + u"BR"_s + u"主页："_s + homePage()};
}

Entry software()
{
    return {u"关于本软件"_s,
            u"    Orro（"_s + kTeam + u"） Tickbell 软件"_s + u"BR"_s + u"    "_s + kTerms + u"。"_s};
}

} // namespace HelpTexts
