// SPDX-License-Identifier: GPL-3.0-or-later
// 转仓计算器: plug/posmover.exe.
#include "instance/single_instance.h"
#include "tools/ui/switch_window.h"
#include "tools/ui/tool_app.h"

#include <QApplication>
#include <QSettings>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ToolApp::setUp(app, u"posmover"_s);
    SingleInstance copy(u"posmover"_s);
    if (!copy.claim())
        return 0;
    const std::unique_ptr<QSettings> settings = ToolApp::settings();
    SwitchWindow window(*settings);
    QObject::connect(&copy, &SingleInstance::activationRequested, &window,
                     [&window] { ToolApp::bringForward(&window); });
    window.show();
    return app.exec();
}
