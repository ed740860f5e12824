// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/desktop_launcher.h"

#include "core/commands/launch_targets.h"
#include "platform/linux/launch_plan.h"

#include <QDesktopServices>
#include <QLoggingCategory>
#include <QProcess>

Q_LOGGING_CATEGORY(lcLaunch, "tickbell.launch")

bool SystemProcessStarter::startDetached(const QString& program, const QStringList& arguments,
                                         const QString& workingDirectory, QString* error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return true;
    *error = process.errorString();
    return false;
}

bool SystemProcessStarter::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool DesktopLauncher::openPath(const QString& path)
{
    const LaunchPlan plan = planOpenPath(path);
    switch (plan.kind) {
    case LaunchPlan::Kind::StartProgram: {
        QString error;
        if (m_starter.startDetached(plan.program, plan.arguments, plan.workingDirectory, &error))
            return true;
        qCWarning(lcLaunch, "cannot start %s: %s", qUtf8Printable(plan.program), qUtf8Printable(error));
        return false;
    }
    case LaunchPlan::Kind::OpenWithDesktop:
        if (m_starter.openUrl(plan.url))
            return true;
        qCWarning(lcLaunch, "the desktop could not open %s", qUtf8Printable(plan.url.toDisplayString()));
        return false;
    case LaunchPlan::Kind::Fail: break;
    }
    qCWarning(lcLaunch, "cannot open: %s", qUtf8Printable(plan.reason));
    return false;
}

bool DesktopLauncher::openAddress(const QString& address)
{
    const QUrl url = LaunchTargets::webUrl(address);
    if (url.isValid() && m_starter.openUrl(url))
        return true;
    qCWarning(lcLaunch, "no browser could open %s", qUtf8Printable(url.toString(QUrl::FullyEncoded)));
    return false;
}
