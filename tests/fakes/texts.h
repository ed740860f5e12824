// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The fixed texts the program shows, written here once for every test that checks them. They
// are copied, not taken from the program, so that a changed text fails a test.

#include <QString>

namespace Texts {

// Label1, the status line.
inline const QString NotOpen = QStringLiteral("还没开盘...");
inline const QString InSession = QStringLiteral("股市开盘中...");
inline const QString KeyPoint = QStringLiteral("盘中关键点..");
inline const QString ClosingSoon = QStringLiteral("快收盘了!");
inline const QString MiddayBreak = QStringLiteral("中午休盘中...");
inline const QString Closed = QStringLiteral("今天已收盘...");
inline const QString SundayStatus = QStringLiteral("周末 明天开盘");
inline const QString SaturdayStatus = QStringLiteral("周末 后天开盘");
inline const QString HolidayStatus = QStringLiteral("假日休盘...");

// Label4, the advice, by its letter in the timetable; W is also the welcome.
inline const QString AdviceA = QStringLiteral(
    "注意：当前是开盘前十分钟的机构竞价时间。从机构竞价的情况可以知道机构今天是想看多还是看空，"
    "是想洗盘还是想出货，但机构也不能为所欲为，只能顺势而为 ... ...");
inline const QString AdviceB = QStringLiteral(
    "注意：当前是上午开盘时间，中午11:30收盘，上午的走势将在9:40和10:30基本形成，注意量能 ... ...");
inline const QString AdviceC = QStringLiteral(
    "注意：盘中关键时间点，可预测走势，注意量能。如果是洗盘行情，10:30及14:00后有可能拉起来 ... ...");
inline const QString AdviceD =
    QStringLiteral("注意：盘中关键时间点，五分钟后就收盘了，买卖要把握好时间 ... ...");
inline const QString AdviceE =
    QStringLiteral("注意：现在是中午休盘时间，下午12:50分机构开始竞价，13:00-15:00是开盘时间。");
inline const QString AdviceF =
    QStringLiteral("注意：当前是下午开盘时间，下午15:00收盘，下午的走势14:00基本形成，注意量能 ... ...");
inline const QString AdviceG = QStringLiteral("注意：盘中关键时间点，可预测走势，注意量能。如果是洗盘行情，"
                                              "上午一直弱势振荡，14:00后有可能拉起来 ... ...");
inline const QString AdviceW = QStringLiteral(
    "欢迎使用，本软件将从开盘前的竞价开始用语音对您进行提醒，请确保音箱已开启。炒股不像其它行业，"
    "三分眼光七分赌，在您想买入卖出时看一眼您可以自定义的“纪律”，有时可以挽回巨大的损失，"
    "悬崖勒马，过关斩将，祝您财源滚滚！");

// Appended to the auction's advice on the last trading day before a closed one.
inline const QString HolidayTomorrow = QStringLiteral("明天放假不开盘！");
inline const QString WeekendTomorrow = QStringLiteral("明天周末不开盘！");

// The window title: from the start, during the after-close countdown, and once that is cancelled.
inline const QString Version = QStringLiteral("1.32");
inline const QString StartTitle = QStringLiteral("Tickbellv1.32 - Orro SOFT");
inline QString secondsLeftTitle(int seconds)
{
    return QStringLiteral(" ") + QString::number(seconds) + QStringLiteral(" 秒后自动退出 ... ");
}
inline QString restoredTitle(const QString& version)
{
    return QStringLiteral("OrroTickbellv") + version + QStringLiteral(" - Orro SOFT");
}

// After the viewer's title.
inline const QString KeyHint = QStringLiteral(" - 上下箭头键翻页，ESC/DEL/退格键关闭窗口");

// The trading program's button before its path is set.
inline const QString NoPathTitle = QStringLiteral("未设置软件路径 ...");
inline const QString NoPathText =
    QStringLiteral("系统提示：请到菜单的“编辑”“系统设置”里浏览找到您常用的炒股软件或者快捷方式，"
                   "保存设置才能使用这个按钮打开自己的炒股软件 ...");

} // namespace Texts
