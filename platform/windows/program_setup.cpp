// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_setup.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

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

// The installer leaves its uninstaller in the folder and the uninstaller takes it away; an
// unpacked zip has none, wherever either lies.
bool isInstalledCopy(const QString& programFolder)
{
    return QFileInfo::exists(programFolder + u"/uninstall.exe"_s);
}

bool goesSomewhere(DWORD stream)
{
    const HANDLE handle = GetStdHandle(stream);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

// In the program folder where the user can write it (an unpacked zip), else in
// %APPDATA%\Tickbell. An installed copy's folder is the installer's to replace and remove: its
// settings live apart, also where the folder can be written (a per-user install, an
// administrator's, and under Wine, which does not keep users out of Program Files).
ConfigLocation platformConfigLocation(const QString& programFolder)
{
    const QString appData = knownFolder(FOLDERID_RoamingAppData);
    const bool installed = isInstalledCopy(programFolder);
    ConfigLocation location =
        chooseConfigLocation(programFolder, appData.isEmpty() ? QString() : appData + u"/Tickbell"_s,
                             !installed && folderIsWritable(programFolder));
    location.offersPortableSettings = installed && !location.inProgramFolder;
    return location;
}

void choosePlatformPlugin()
{
    // One platform plugin; a DISPLAY in the environment (Wine passes the Unix one on) must not
    // send Qt looking for X11.
}

void useParentConsole()
{
    // Borrows the console of the command prompt the program was started from, for whichever
    // of standard output and error does not already go somewhere (a file, a pipe). The lines
    // are UTF-8, so that console is switched to it.
    const bool haveOut = goesSomewhere(STD_OUTPUT_HANDLE);
    const bool haveErr = goesSomewhere(STD_ERROR_HANDLE);
    if ((haveOut && haveErr) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    SetConsoleOutputCP(CP_UTF8);
    if (!haveOut)
        std::freopen("CONOUT$", "w", stdout);
    if (!haveErr)
        std::freopen("CONOUT$", "w", stderr);
}

void showCommandLineText(const QString& text, bool error)
{
    // Qt's own parser shows a box whenever no console is there, also to a script that reads the
    // output from a file or a pipe: it would wait for the box for ever.
    FILE* stream = error ? stderr : stdout;
    if (!goesSomewhere(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE)) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
            MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()), L"Tickbell",
                        MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
            return;
        }
        SetConsoleOutputCP(CP_UTF8);
        std::freopen("CONOUT$", "w", stream);
    }
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}
