// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/settings/config_location.h"

// The first start of an installed copy (config.offersPortableSettings, no config.txt yet): asks
// whether to take the settings of the portable copy found in the user's own folders or of a
// folder the trader chooses, and takes them beside config.txt. False when the question was left
// unanswered because the program is to end (the end of the session).
bool offerPortableSettings(const QString& programFolder, const ConfigLocation& config);
