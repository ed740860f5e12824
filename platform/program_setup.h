// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/settings/config_location.h"

// Start-up choices that differ between operating systems, made before the platform's services
// exist. Each backend folder provides them.

// Where config.txt lives for a program in programFolder: the folder itself when the user can
// write it, else the user's settings folder ($XDG_CONFIG_HOME/tickbell, %APPDATA%\Tickbell).
ConfigLocation platformConfigLocation(const QString& programFolder);

// Before the application object: the Qt platform plugin to start on, where the system leaves a
// choice (X11 under a Wayland session, so that the window layers work). Where there is no
// desktop, or it cannot be reached, the program starts on Qt's offscreen platform instead of
// aborting (see main.cpp).
void choosePlatformPlugin();

// --console: standard output and error reach the terminal the program was started from (a
// Windows program with a window has none of its own).
void useParentConsole();

// --help and --version: their text (error: a command-line error's) on standard output (error)
// where the program was started from a console or its output goes to a file or a pipe; only a
// program with neither (on Windows, one started from Explorer) shows it in a message box.
void showCommandLineText(const QString& text, bool error);
