// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_setup.h"

#include "platform/display_platform.h"

#include <QStandardPaths>

ConfigLocation platformConfigLocation(const QString& programFolder)
{
    return chooseConfigLocation(programFolder,
                                QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                                folderIsWritable(programFolder));
}

void choosePlatformPlugin()
{
    if (const QByteArray platform = preferredQtPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"));
        !platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

void useParentConsole()
{
    // A program started from a terminal writes to it already.
}
