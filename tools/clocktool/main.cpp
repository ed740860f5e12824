// SPDX-License-Identifier: GPL-3.0-or-later
// 时间校正: plug/clocktool.exe.
#include "core/calendar/trading_calendar.h"
#include "core/settings/program_options.h"
#include "instance/single_instance.h"
#include "nettime/sntp_client.h"
#include "system/time_sync.h"
#include "tools/ui/clock_window.h"
#include "tools/ui/tool_app.h"

#include <QApplication>
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

    // The key moments skip the days the exchanges are closed, as Tickbell knows them.
    const TradingCalendar calendar = ToolApp::calendar();
    const std::unique_ptr<QSettings> settings = ToolApp::settings();
    // Tickbell's own switches, beside its config.txt.
    ProgramOptions options(ToolApp::configFolder());
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
