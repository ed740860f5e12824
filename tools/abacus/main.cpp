// SPDX-License-Identifier: GPL-3.0-or-later
// 常规计算器: plug/abacus.exe starts the system's own calculator, or says which to install.
#include "system/system_calculator.h"
#include "tools/common/tool_app.h"
#include "tools/common/tools_log.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ToolApp::setUp(app, u"abacus"_s);
    const SystemCalculator calculator = findSystemCalculator();
    QString problem = calculator.missing;
    if (problem.isEmpty()) {
        QProcess process;
        process.setProgram(calculator.program);
        process.setArguments(calculator.arguments);
        process.setStandardInputFile(QProcess::nullDevice());
        if (process.startDetached())
            return 0;
        problem = u"无法启动计算器 %1：%2"_s.arg(calculator.program, process.errorString());
        qCWarning(lcTools, "%s", qUtf8Printable(problem));
    }
    QMessageBox box(QMessageBox::Information, u"常规计算器"_s, problem, QMessageBox::Ok);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
    return 1;
}
