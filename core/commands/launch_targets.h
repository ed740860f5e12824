// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

// Everything the launch commands start, and where each one lives.
enum class LaunchTarget {
    NewsPage,
    ClockTool,
    QuotesPage,
    TradingProgram,
    Calculator,
    SwitchCalculator,
    LimitUpCalculator,
    QuickShutdown,
    UpdatePage,
    FeedbackPage,
};

namespace LaunchTargets {

// The hosts, in one place. The first two belong to outside companies.
inline constexpr char16_t kNewsHost[] = u"news.qq.com";
inline constexpr char16_t kQuotesHost[] = u"www.gw.com.cn";
inline constexpr char16_t kProjectHost[] = u"www.tickbell.org";

bool isWebPage(LaunchTarget target);

// The page's address, as plain text: Chinese characters are not yet escaped.
QString webAddress(LaunchTarget target, const QString& SoftVer1);
// A page address as the browser would send it: non-ASCII characters percent-encoded as UTF-8.
QUrl webUrl(const QString& address);

// "plug/clocktool.exe" and so on, relative to the program folder.
QString toolRelativePath(LaunchTarget target);
QString toolPath(const QString& programFolder, LaunchTarget target);

} // namespace LaunchTargets
