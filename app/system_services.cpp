// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/system_services.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

Form1Services SystemServices::make(const QString& programFolder, const ConfigLocation& config,
                                   std::function<void(const QString&)> tell)
{
    Form1Services services;
    services.clock = &m_clock;
    services.audio = &m_audio;
    services.launcher = &m_launcher;
    services.stacking = &m_stacking;
    services.programFolder = programFolder;
    services.configPath = config.configPath;
    services.defaultConfigPath = config.defaultPath;
    services.exitProgram = [] { QCoreApplication::exit(0); };
    services.tell = std::move(tell);

    const QString holidays = programFolder + u"/holidays.txt"_s;
    if (QFile::exists(holidays)) {
        for (const QString& problem : services.calendar.loadClosedDaysFile(holidays))
            services.tell(problem);
    } else {
        services.tell(
            u"%1 is missing: only weekends and the built-in 2009-2010 holidays are known"_s.arg(holidays));
    }
    // The years after the holidays files still close on their statutory holidays.
    for (const QString& problem :
         services.calendar.loadFestivalDatesFile(programFolder + u"/statutory-holidays.txt"_s))
        services.tell(problem);
    // Where the program folder is not the user's to write, he adds next year's closed days in
    // a holidays.txt beside his config.txt.
    const QString ownHolidays = QFileInfo(config.configPath).absolutePath() + u"/holidays.txt"_s;
    if (!config.inProgramFolder && QFile::exists(ownHolidays)) {
        for (const QString& problem : services.calendar.loadClosedDaysFile(ownHolidays))
            services.tell(problem);
    }
    return services;
}
