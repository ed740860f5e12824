// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/config_location.h"

#include <QTemporaryFile>

using namespace Qt::StringLiterals;

ConfigLocation chooseConfigLocation(const QString& programFolder, const QString& userConfigFolder,
                                    bool programFolderWritable)
{
    ConfigLocation location;
    location.defaultPath = programFolder + u"/plug/config.txt"_s;
    location.inProgramFolder = programFolderWritable || userConfigFolder.isEmpty();
    location.configPath =
        (location.inProgramFolder ? programFolder : userConfigFolder + u"/tickbell"_s) + u"/config.txt"_s;
    return location;
}

bool folderIsWritable(const QString& folder)
{
    QTemporaryFile probe(folder + u"/.tickbell-write-test-XXXXXX"_s);
    return probe.open();
}
