// SPDX-License-Identifier: GPL-3.0-or-later
// 时间校正: plug/clocktool.exe.
#include "core/calendar/calendar_files.h"
#include "core/settings/program_options.h"
#include "core/settings/time_servers.h"
#include "instance/single_instance.h"
#include "nettime/sntp_client.h"
#include "platform/platform_services.h"
#include "platform/program_setup.h"
#include "system/time_sync.h"
#include "tools/clocktool/clock_window.h"
#include "tools/common/tool_app.h"
#include "tools/common/tools_log.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<int> status = runElevatedTimeSync(arguments))
        return *status;

    QApplication app(argc, argv);
    ToolApp::setUp(app, u"clocktool"_s);
    SingleInstance copy(u"clocktool"_s);
    if (!copy.claim())
        return 0;

    // The key moments skip the days the exchanges are closed, as Tickbell knows them: the same
    // files, the trader's own holidays.txt included.
    const QString folder = ToolApp::programFolder();
    const ConfigLocation config = platformConfigLocation(folder);
    const std::unique_ptr<CodePage> codePage = makeSystemCodePage();
    QStringList problems;
    const TradingCalendar calendar = loadTradingCalendar(folder, config, *codePage, &problems);
    for (const QString& problem : std::as_const(problems))
        qCWarning(lcTools, "%s", qUtf8Printable(problem));

    const std::unique_ptr<QSettings> settings = ToolApp::settings();
    // Tickbell's own switches, beside its config.txt.
    ProgramOptions options(QFileInfo(config.configPath).absolutePath());
    const std::unique_ptr<TimeSync> sync = makeSystemTimeSync();
    SntpNetworkTime network;
    const SystemClock computer;
    ClockWindow window(*sync, network, computer, calendar, *settings, options);
    QObject::connect(&copy, &SingleInstance::activationRequested, &window,
                     [&window] { ToolApp::bringForward(&window); });
    window.show();
    QTimer::singleShot(0, &window, &ClockWindow::query);
    return app.exec();
}
