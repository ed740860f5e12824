// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The settings of a portable copy (an unpacked zip: Tickbell.exe with its config.txt beside it),
// which an installed copy takes when the trader says so: offered at its first start when it finds
// one, and under 文件 > 导入解压版设置… for one anywhere.
namespace PortableSettings {

// The portable copies in places, in their subfolders and where shortcuts there point (one on the
// desktop or in the Startup folder), never programFolder; the most recently changed settings first.
QStringList find(const QStringList& places, const QString& programFolder);

// Replaces to's config.txt, tools.ini (the time servers, the commission) and tickbell.ini (the
// program's switches) with from's, each whole and atomically, config.txt last; a file from does
// not have stays as it is. The names of the files taken. from without a config.txt is no portable
// copy: nothing is taken. On failure *error says why, and the files named were taken already.
// holidays.txt goes through the calendar instead (ownHolidayLines).
QStringList take(const QString& from, const QString& to, QString* error);

// The lines of a portable copy's holidays.txt that say something its package's holidays.txt does
// not: the days the trader set or pasted himself. A line the package has (a day it lists alike)
// is the package's: left to the program folder's file, so that a later version's correction of
// it still reaches him. Comments, blank lines and lines that are no day are left out.
QString ownHolidayLines(const QString& copy, const QString& package);

} // namespace PortableSettings
