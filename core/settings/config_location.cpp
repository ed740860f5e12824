// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/config_location.h"

#include <QFileInfo>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

ConfigLocation chooseConfigLocation(const QString& programFolder, const QString& userFolder,
                                    bool programFolderIsUsers)
{
    ConfigLocation location;
    location.inProgramFolder = programFolderIsUsers || userFolder.isEmpty();
    location.configPath = (location.inProgramFolder ? programFolder : userFolder) + u"/config.txt"_s;
    const QString own = programFolder + u"/config.txt"_s;
    location.defaultPath =
        !location.inProgramFolder && QFileInfo::exists(own) ? own : programFolder + u"/plug/config.txt"_s;
    return location;
}

bool folderIsWritable(const QString& folder)
{
    QTemporaryFile probe(folder + u"/.tickbell-write-test-XXXXXX"_s);
    return probe.open();
}
