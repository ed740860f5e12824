// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/services/code_page.h"
#include "core/settings/settings.h"

#include <QStringList>

// config.txt on disk: restored from the shipped default when missing, read once at start,
// replaced whole and atomically on save.
class SettingsFile {
public:
    SettingsFile(QString configPath, QString defaultPath, const CodePage& codePage);

    struct Loaded {
        Settings settings;
        // One plain line per thing that went wrong; the settings then hold the defaults
        // for whatever could not be read.
        QStringList problems;
    };
    Loaded load() const;

    // Writes the whole file or nothing: on failure the old file stays as it was and
    // *error (if given) says why, in Chinese for the user.
    bool save(const Settings& settings, QString* error = nullptr) const;

    const QString& configPath() const { return m_configPath; }
    const QString& defaultPath() const { return m_defaultPath; }

    // Larger files are not settings files; only this much of one is read.
    static constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

private:
    QString m_configPath;
    QString m_defaultPath;
    const CodePage& m_codePage;
};
