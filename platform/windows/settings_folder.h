// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/config_location.h"

// Where config.txt lives on Windows: in the program folder where the user can write it (an
// unpacked zip), else in %APPDATA%\Tickbell, as Linux falls back to $XDG_CONFIG_HOME. A program
// folder under Program Files is an installed copy's and never the user's to write, also where
// an administrator could (and under Wine, which does not keep users out of it).
ConfigLocation windowsConfigLocation(const QString& programFolder);
