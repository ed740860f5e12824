// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where config.txt lives. The program folder keeps it whenever it is the user's to write (a
// portable copy, an unpacked folder, the build folder); an installed copy keeps it in the user's
// settings folder instead. The shipped default is the program folder's plug/config.txt, or the
// program folder's own config.txt where there is one that cannot be written there (a portable
// copy on a read-only disk: the user's copy starts from those settings).
struct ConfigLocation {
    QString configPath;
    QString defaultPath;
    bool inProgramFolder = true;
    // An installed copy's (Windows): without a config.txt yet, it offers a portable copy's.
    bool offersPortableSettings = false;
};

// The rule, given what the system knows: userFolder is the settings folder for this program
// ($XDG_CONFIG_HOME/tickbell, %APPDATA%\Tickbell), empty when there is none.
ConfigLocation chooseConfigLocation(const QString& programFolder, const QString& userFolder,
                                    bool programFolderIsUsers);

// Tries to create a file there: permission bits alone do not tell (read-only mounts, root).
bool folderIsWritable(const QString& folder);
