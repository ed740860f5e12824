// SPDX-License-Identifier: GPL-3.0-or-later
// 涨停版计算: plug/ceilprice.exe.
#include "core/calendar/trading_calendar.h"
#include "core/services/clock.h"
#include "instance/single_instance.h"
#include "tools/core/limit_price.h"
#include "tools/ui/limit_window.h"
#include "tools/ui/tool_app.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ToolApp::setUp(app, u"ceilprice"_s);
    SingleInstance copy(u"ceilprice"_s);
    if (!copy.claim())
        return 0;
    const TradingCalendar calendar = ToolApp::calendar();
    LimitWindow window(calendar, limitDayAt(SystemClock().now(), calendar));
    QObject::connect(&copy, &SingleInstance::activationRequested, &window,
                     [&window] { ToolApp::bringForward(&window); });
    window.show();
    return app.exec();
}
