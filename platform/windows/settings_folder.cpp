// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/settings_folder.h"

#include <QDir>

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

using namespace Qt::StringLiterals;

namespace {

QString knownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
}

bool isInside(const QString& folder, const QString& parent)
{
    if (parent.isEmpty())
        return false;
    const QString f = QDir::cleanPath(folder) + u'/';
    const QString p = QDir::cleanPath(parent) + u'/';
    return f.startsWith(p, Qt::CaseInsensitive);
}

} // namespace

ConfigLocation windowsConfigLocation(const QString& programFolder)
{
    const QString appData = knownFolder(FOLDERID_RoamingAppData);
    const bool installed = isInside(programFolder, knownFolder(FOLDERID_ProgramFiles)) ||
                           isInside(programFolder, knownFolder(FOLDERID_ProgramFilesX86));
    ConfigLocation location;
    location.defaultPath = programFolder + u"/plug/config.txt"_s;
    location.inProgramFolder = appData.isEmpty() || (!installed && folderIsWritable(programFolder));
    location.configPath =
        (location.inProgramFolder ? programFolder : appData + u"/Tickbell"_s) + u"/config.txt"_s;
    return location;
}
