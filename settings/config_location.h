// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where config.txt lives. The program folder keeps it whenever it can be written (a portable
// copy, an unpacked folder, the build folder); a system-wide install that the user cannot
// write keeps it in the user's configuration folder instead. Either way the shipped default
// is the program folder's plug/config.txt.
struct ConfigLocation {
    QString configPath;
    QString defaultPath;
    bool inProgramFolder = true;
};

ConfigLocation chooseConfigLocation(const QString& programFolder, const QString& userConfigFolder,
                                    bool programFolderWritable);

// Tries to create a file there: permission bits alone do not tell (read-only mounts, root).
bool folderIsWritable(const QString& folder);
