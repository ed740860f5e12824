// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

// The tools' remembered choices (the time servers, the broker's rates): tools.ini in folder,
// where config.txt lives. The program reads the time servers there too, so that it and the clock
// tool ask the same list. Every copy used to keep tools.ini in the user's settings folder
// (~/.config/tickbell, %APPDATA%\tickbell): where folder has none yet, it starts from that one.
// problem (if given) says why that could not be copied.
std::unique_ptr<QSettings> openToolSettings(const QString& folder, QString* problem = nullptr);

namespace TimeServers {
inline constexpr auto kKey = "clocktool/servers";
// Public servers in China: Alibaba's and Tencent's, the National Time Service Center's, and
// the NTP pool's Chinese zone.
QStringList defaults();
// The list as saved, or the defaults when none is.
QStringList read(const QSettings& settings);
} // namespace TimeServers
