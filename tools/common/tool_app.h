// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class QApplication;
class QSettings;
class QWidget;

// What every tool in plug/ does at start, and where its things are.
namespace ToolApp {

// The program folder: the one that holds plug/.
QString programFolder();

// Name, icon, Qt's own texts in Chinese (from the program folder's translations/ or Qt's),
// the windows' font. name is the tool's file name without .exe.
void setUp(QApplication& app, const QString& name);

// A second start asked for the window: show it, raised and active.
void bringForward(QWidget* window);

// The tools' remembered choices (time servers, the broker's rates), per user: tools.ini in the
// user's settings folder (~/.config/tickbell, %APPDATA%\tickbell); see core/settings/time_servers.h.
std::unique_ptr<QSettings> settings();

// Says on the window's status line, or standard error, that a choice could not be saved.
QString saveProblem(const QSettings& settings);

} // namespace ToolApp
