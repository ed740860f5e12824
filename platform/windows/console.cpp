// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/console.h"

#include <cstdio>

#include <windows.h>

namespace {

bool goesSomewhere(DWORD stream)
{
    const HANDLE handle = GetStdHandle(stream);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

void attachToParentConsole()
{
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
