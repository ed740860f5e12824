// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/main_window.h"
#include "settings/config_location.h"

class PlatformServices;

// The main window's services from the platform's: the program folder and its files, where
// config.txt lives, the calendar with the holidays files (their problems go to standard
// error), and the exit. Everything but the mirror.
Form1Services makeForm1Services(PlatformServices& platform, const QString& programFolder,
                                const ConfigLocation& config);
