// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/composition_root.h"

#include "app/app_log.h"
#include "platform/platform_services.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcApp, "tickbell.app")

namespace {

void tell(const QStringList& problems)
{
    for (const QString& problem : problems)
        qCWarning(lcApp, "%s", qUtf8Printable(problem));
}

// The program folder's holidays.txt and festival dates, and the user's own holidays.txt where
// the program folder is not his to write: there he adds next year's closed days.
TradingCalendar loadCalendar(const QString& programFolder, const ConfigLocation& config,
                             const CodePage& codePage)
{
    TradingCalendar calendar;
    const QString holidays = programFolder + u"/holidays.txt"_s;
    if (QFile::exists(holidays))
        tell(calendar.loadClosedDaysFile(holidays, codePage));
    else
        tell({u"%1 is missing: only weekends and the built-in 2009-2010 holidays are known"_s.arg(holidays)});
    // The years after the holidays files still close on their statutory holidays.
    tell(calendar.loadFestivalDatesFile(programFolder + u"/statutory-holidays.txt"_s, codePage));
    const QString ownHolidays = QFileInfo(config.configPath).absolutePath() + u"/holidays.txt"_s;
    if (!config.inProgramFolder && QFile::exists(ownHolidays))
        tell(calendar.loadClosedDaysFile(ownHolidays, codePage));
    return calendar;
}

} // namespace

std::unique_ptr<TradingDay> makeTradingDay(PlatformServices& platform, const QString& programFolder,
                                           const ConfigLocation& config)
{
    TradingDayServices services;
    services.clock = &platform.clock();
    services.codePage = &platform.codePage();
    services.audio = &platform.audio();
    services.launcher = &platform.launcher();
    services.programFolder = programFolder;
    services.configPath = config.configPath;
    services.defaultConfigPath = config.defaultPath;
    // Beside config.txt: the program folder's own file where the trader may write it, else his
    // own, read after the program folder's.
    services.holidaysPath = QFileInfo(config.configPath).absolutePath() + u"/holidays.txt"_s;
    services.calendar = loadCalendar(programFolder, config, platform.codePage());
    return std::make_unique<TradingDay>(std::move(services));
}
