// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ui/tool_app.h"

#include "core/calendar/calendar_files.h"
#include "core/settings/time_servers.h"
#include "platform/platform_services.h"
#include "platform/program_setup.h"
#include "tools/core/tools_log.h"
#include "widgets/fonts.h"
#include "widgets/program_icon.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace ToolApp {

QString programFolder()
{
    // On Windows the tools run beside Tickbell.exe and its Qt libraries (plug\ holds starters);
    // elsewhere from plug/ itself.
    const QString own = QCoreApplication::applicationDirPath();
    return QFileInfo(own + u"/plug"_s).isDir() ? own : QDir::cleanPath(own + u"/.."_s);
}

void setUp(QApplication& app, const QString& name)
{
    QCoreApplication::setApplicationName(u"tickbell-"_s + name);
    QGuiApplication::setDesktopFileName(u"org.tickbell.Tickbell"_s);
    QApplication::setWindowIcon(programIcon());
    QApplication::setFont(Fonts::sans(10));
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    QLocale::setDefault(chinese);
    const QStringList folders = {programFolder() + u"/translations"_s,
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(chinese, u"qtbase"_s, u"_"_s, folder)) {
            QCoreApplication::installTranslator(translator);
            break;
        }
        delete translator;
    }
}

void bringForward(QWidget* window)
{
    window->showNormal();
    window->raise();
    window->activateWindow();
}

QString configFolder(const QString& programFolder)
{
    return QFileInfo(platformConfigLocation(programFolder).configPath).absolutePath();
}

std::unique_ptr<QSettings> settings(const QString& programFolder)
{
    QString problem;
    std::unique_ptr<QSettings> settings = openToolSettings(configFolder(programFolder), &problem);
    if (!problem.isEmpty())
        qCWarning(lcTools, "%s", qUtf8Printable(problem));
    return settings;
}

TradingCalendar calendar()
{
    const QString folder = programFolder();
    const std::unique_ptr<CodePage> codePage = makeSystemCodePage();
    QStringList problems;
    TradingCalendar calendar =
        loadTradingCalendar(folder, platformConfigLocation(folder), *codePage, &problems);
    for (const QString& problem : std::as_const(problems))
        qCWarning(lcTools, "%s", qUtf8Printable(problem));
    return calendar;
}

QString saveProblem(const QSettings& s)
{
    if (s.status() == QSettings::NoError)
        return {};
    return u"无法保存设置到 %1"_s.arg(QDir::toNativeSeparators(s.fileName()));
}

} // namespace ToolApp
