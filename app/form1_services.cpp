// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1_services.h"

#include "app/app_log.h"
#include "platform/platform_services.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcApp, "tickbell.app")

namespace {
void tell(const QString& line)
{
    qCWarning(lcApp, "%s", qUtf8Printable(line));
}
} // namespace

Form1Services makeForm1Services(PlatformServices& platform, const QString& programFolder,
                                const ConfigLocation& config)
{
    Form1Services form;
    form.stacking = &platform.stacking();
    form.exitProgram = [] { QCoreApplication::exit(0); };
    TradingDayServices& services = form.day;
    services.clock = &platform.clock();
    services.audio = &platform.audio();
    services.launcher = &platform.launcher();
    services.programFolder = programFolder;
    services.configPath = config.configPath;
    services.defaultConfigPath = config.defaultPath;

    const QString holidays = programFolder + u"/holidays.txt"_s;
    if (QFile::exists(holidays)) {
        for (const QString& problem : services.calendar.loadClosedDaysFile(holidays))
            tell(problem);
    } else {
        tell(u"%1 is missing: only weekends and the built-in 2009-2010 holidays are known"_s.arg(holidays));
    }
    // The years after the holidays files still close on their statutory holidays.
    for (const QString& problem :
         services.calendar.loadFestivalDatesFile(programFolder + u"/statutory-holidays.txt"_s))
        tell(problem);
    // Where the program folder is not the user's to write, he adds next year's closed days in
    // a holidays.txt beside his config.txt.
    const QString ownHolidays = QFileInfo(config.configPath).absolutePath() + u"/holidays.txt"_s;
    if (!config.inProgramFolder && QFile::exists(ownHolidays)) {
        for (const QString& problem : services.calendar.loadClosedDaysFile(ownHolidays))
            tell(problem);
    }
    return form;
}
