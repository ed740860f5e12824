// SPDX-License-Identifier: GPL-3.0-or-later
// 常规计算器: plug/abacus.exe starts the system's own calculator, or says which to install.
// It stays while the calculator it started runs, so that pressing 9 again starts no second one.
#include "instance/single_instance.h"
#include "system/system_calculator.h"
#include "tools/core/tools_log.h"
#include "tools/ui/tool_app.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ToolApp::setUp(app, u"abacus"_s);
    SingleInstance copy(u"abacus"_s);
    if (!copy.claim())
        return 0;
    const SystemCalculator calculator = findSystemCalculator();
    QString problem = calculator.missing;
    if (problem.isEmpty()) {
        QProcess process;
        process.setProgram(calculator.program);
        process.setArguments(calculator.arguments);
        process.setStandardInputFile(QProcess::nullDevice());
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        QObject::connect(&process, &QProcess::finished, &app, &QCoreApplication::quit);
        // Qt cannot raise another program's window; the calculator is there, on the taskbar.
        QObject::connect(&copy, &SingleInstance::activationRequested, &app,
                         [] { qCInfo(lcTools, "the calculator is already running"); });
        process.start();
        if (process.waitForStarted())
            return app.exec();
        problem = u"无法启动计算器 %1：%2"_s.arg(calculator.program, process.errorString());
        qCWarning(lcTools, "%s", qUtf8Printable(problem));
    }
    QMessageBox box(QMessageBox::Information, u"常规计算器"_s, problem, QMessageBox::Ok);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    QObject::connect(&copy, &SingleInstance::activationRequested, &box,
                     [&box] { ToolApp::bringForward(&box); });
    box.exec();
    return 1;
}
