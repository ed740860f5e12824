// SPDX-License-Identifier: GPL-3.0-or-later
// 快速关机: plug/poweroff.exe. Tickbell starts it at 15:00:08 when asked to shut down after the
// close, and from its Tools menu.
#include "instance/single_instance.h"
#include "system/power_off.h"
#include "tools/ui/poweroff_window.h"
#include "tools/ui/tool_app.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ToolApp::setUp(app, u"poweroff"_s);
    // A second start shows the running countdown; it does not start another.
    SingleInstance copy(u"poweroff"_s);
    if (!copy.claim())
        return 0;
    const std::unique_ptr<PowerOff> power = makeSystemPowerOff();
    PowerOffWindow window(*power);
    QObject::connect(&copy, &SingleInstance::activationRequested, &window,
                     [&window] { ToolApp::bringForward(&window); });
    window.show();
    window.start();
    return app.exec();
}
