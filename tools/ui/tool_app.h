// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class QApplication;
class QSettings;
class QWidget;
class TradingCalendar;

// What every tool in plug/ does at start, and where its things are.
namespace ToolApp {

// The program folder: the one that holds plug/.
QString programFolder();

// Name, icon, Qt's own texts in Chinese (from the program folder's translations/ or Qt's),
// the windows' font. name is the tool's file name without .exe.
void setUp(QApplication& app, const QString& name);

// A second start asked for the window: show it, raised and active.
void bringForward(QWidget* window);

// The folder of Tickbell's config.txt, where its tickbell.ini lives too.
QString configFolder(const QString& programFolder = ToolApp::programFolder());

// The tools' remembered choices (time servers, the broker's rates): tools.ini beside Tickbell's
// config.txt, in the program folder where the user can write it, else in his settings folder
// (~/.config/tickbell, %APPDATA%\Tickbell); see core/settings/time_servers.h.
std::unique_ptr<QSettings> settings(const QString& programFolder = ToolApp::programFolder());

// The days the exchanges trade, as Tickbell knows them: the program folder's holidays.txt and
// festival dates, then the user's own holidays.txt beside config.txt. Problems go to standard
// error.
TradingCalendar calendar();

// Says on the window's status line, or standard error, that a choice could not be saved.
QString saveProblem(const QSettings& settings);

} // namespace ToolApp
