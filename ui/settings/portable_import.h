// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/settings/config_location.h"

#include <QObject>
#include <QString>

class CodePage;
class QAction;
class QWidget;
class TradingDay;

// 导入解压版设置, for an installed copy (config.offersPortableSettings): takes the settings of a
// portable copy (an unpacked zip) into the running program. Its config.txt, tools.ini and
// tickbell.ini replace the installed copy's, the days the trader set in its holidays.txt join his
// calendar, and he is told what was taken. The day runs on meanwhile: it reads config.txt again,
// and follows tickbell.ini as it follows the clock tool's changes.
class PortableImport : public QObject {
    Q_OBJECT
public:
    // Adds 文件 > 导入解压版设置… to window's menu bar, before 退出.
    PortableImport(TradingDay& day, QWidget& window, QString programFolder, ConfigLocation config,
                   const CodePage& codePage, QObject* parent = nullptr);

    // The first start: asks whether to take the settings of the portable copy in the user's own
    // folders changed last. Where there is none, nothing is asked.
    void offerFound();
    // The menu item: the trader chooses the folder.
    void chooseFolder();

    QAction* item = nullptr; // 文件 > 导入解压版设置…

private:
    void importFrom(const QString& folder);

    TradingDay& m_day;
    QWidget& m_window;
    QString m_programFolder;
    ConfigLocation m_config;
    const CodePage& m_codePage;
};
