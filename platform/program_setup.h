// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/config_location.h"

#include <memory>

// Start-up choices that differ between operating systems, made before the platform's services
// exist. Each backend folder provides them.

// Where config.txt lives for a program in programFolder: the folder itself when the user can
// write it, else the user's settings folder ($XDG_CONFIG_HOME/tickbell, %APPDATA%\Tickbell).
ConfigLocation platformConfigLocation(const QString& programFolder);

// Before the application object: the Qt platform plugin to start on, where the system leaves a
// choice (X11 under a Wayland session, so that the window layers work).
void choosePlatformPlugin();

// --console: standard output and error reach the terminal the program was started from (a
// Windows program with a window has none of its own).
void useParentConsole();

// The one-copy guard (app/single_instance), per user and desktop session.

// Where a second start reaches the first copy (a local socket's or pipe's name), from base: a
// socket in the user's runtime folder; on Windows a pipe of the user's session.
QString instanceServerName(const QString& base);

enum class InstanceLock { Taken, HeldByAnother, Unavailable };

// Takes the lock that decides which copy is first, named after serverName. It is held for as
// long as holder lives and is never left behind by a copy that crashed: a lock file under the
// runtime folder's file lock; on Windows a named object of the session, gone with its process.
InstanceLock takeInstanceLock(const QString& serverName, std::shared_ptr<void>& holder);

// In a second start connected to the first copy (socket: the local socket's descriptor): lets
// the first copy take the foreground, which Windows gives only to the process the user works
// in. The first copy's process id, or 0 where nothing needs allowing.
qint64 allowPeerToTakeForeground(qintptr socket);
