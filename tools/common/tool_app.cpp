// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/tool_app.h"

#include "core/settings/time_servers.h"
#include "widgets/fonts.h"
#include "widgets/program_icon.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace ToolApp {

QString programFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/.."_s);
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

std::unique_ptr<QSettings> settings()
{
    return openToolSettings();
}

QString saveProblem(const QSettings& s)
{
    if (s.status() == QSettings::NoError)
        return {};
    return u"无法保存设置到 %1"_s.arg(QDir::toNativeSeparators(s.fileName()));
}

} // namespace ToolApp
