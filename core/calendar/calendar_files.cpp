// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/calendar_files.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

TradingCalendar loadTradingCalendar(const QString& programFolder, const ConfigLocation& config,
                                    const CodePage& codePage, QStringList* problems)
{
    TradingCalendar calendar;
    const QString holidays = programFolder + u"/holidays.txt"_s;
    // Beside config.txt in the program folder, the program folder's file is the trader's own:
    // a save writes it back whole.
    if (!QFile::exists(holidays))
        *problems << u"%1 is missing: only weekends and the built-in 2009-2010 holidays are known"_s.arg(
            holidays);
    else if (config.inProgramFolder)
        *problems << calendar.loadOwnDaysFile(holidays, codePage);
    else
        *problems << calendar.loadClosedDaysFile(holidays, codePage);
    // The years after the holidays files still close on their statutory holidays.
    *problems << calendar.loadFestivalDatesFile(programFolder + u"/statutory-holidays.txt"_s, codePage);
    const QString own = ownHolidaysPath(config);
    if (!config.inProgramFolder && QFile::exists(own))
        *problems << calendar.loadOwnDaysFile(own, codePage);
    return calendar;
}

QString ownHolidaysPath(const ConfigLocation& config)
{
    return QFileInfo(config.configPath).absolutePath() + u"/holidays.txt"_s;
}
