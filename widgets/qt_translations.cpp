// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

using namespace Qt::StringLiterals;

bool loadQtChinese(QCoreApplication& app, const QString& programFolder)
{
    // The whole interface is Chinese, whatever the system's language.
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    const QStringList folders = {programFolder + u"/translations"_s,
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(chinese, u"qtbase"_s, u"_"_s, folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
        delete translator;
    }
    return false;
}
