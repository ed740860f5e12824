// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_setup.h"

#include "platform/linux/display_platform.h"

#include <QStandardPaths>

#include <cstdio>

using namespace Qt::StringLiterals;

ConfigLocation platformConfigLocation(const QString& programFolder)
{
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return chooseConfigLocation(programFolder, configHome.isEmpty() ? QString() : configHome + u"/tickbell"_s,
                                folderIsWritable(programFolder));
}

void choosePlatformPlugin()
{
    qputenv("QT_QPA_PLATFORM",
            preferredQtPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY")));
}

void useParentConsole()
{
    // A program started from a terminal writes to it already.
}

void showCommandLineText(const QString& text, bool error)
{
    std::fputs(qUtf8Printable(text), error ? stderr : stdout);
}
