// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/settings/settings.h"

#include <QString>

// Whoever holds the settings record for the run (the trading day). The settings dialog edits a
// copy of it and hands it back through SaveSettings.
class SettingsKeeper {
public:
    virtual ~SettingsKeeper() = default;
    virtual const Settings& settings() const = 0;
    // Takes the record for the rest of the run and writes config.txt whole; false, with the
    // reason in *error (Chinese, for the user), when the file kept its old settings.
    virtual bool SaveSettings(const Settings& record, QString* error = nullptr) = 0;
    // Where config.txt is written.
    virtual QString settingsPath() const = 0;
};
