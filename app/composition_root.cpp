// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/composition_root.h"

#include "app/app_log.h"
#include "core/calendar/calendar_files.h"
#include "core/settings/time_servers.h"
#include "nettime/sntp_client.h"
#include "platform/platform_services.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcApp, "tickbell.app")

namespace {

void tell(const QStringList& problems)
{
    for (const QString& problem : problems)
        qCWarning(lcApp, "%s", qUtf8Printable(problem));
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
    services.speech = &platform.speech();
    services.programFolder = programFolder;
    services.configPath = config.configPath;
    services.defaultConfigPath = config.defaultPath;
    services.holidaysPath = ownHolidaysPath(config);
    QStringList problems;
    services.calendar = loadTradingCalendar(programFolder, config, platform.codePage(), &problems);
    tell(problems);
    // Standard time asks the clock tool's servers, read afresh each time.
    services.networkTime = std::make_unique<SntpNetworkTime>();
    services.timeServers = [folder = QFileInfo(config.configPath).absolutePath()] {
        QString problem;
        const QStringList servers = TimeServers::read(*openToolSettings(folder, &problem));
        if (!problem.isEmpty())
            qCWarning(lcApp, "%s", qUtf8Printable(problem));
        return servers;
    };
    return std::make_unique<TradingDay>(std::move(services));
}
