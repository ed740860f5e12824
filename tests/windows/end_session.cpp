// SPDX-License-Identifier: GPL-3.0-or-later
// The log-off as it reaches one program, for the end-to-end test: end_session NAME.exe asks each
// top-level window of the processes of that name WM_QUERYENDSESSION and then tells them
// WM_ENDSESSION. Unlike Wine's wineboot --end-session it ends nothing itself afterwards, so
// whether the program ends, and with which status, is the program's own doing.
// Status: 0 told, 1 a window refused or did not answer, 2 no window of that name.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

namespace {

struct Found {
    std::vector<DWORD> pids;
    std::vector<HWND> windows;
};

BOOL CALLBACK collect(HWND window, LPARAM param)
{
    auto* found = reinterpret_cast<Found*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (std::find(found->pids.begin(), found->pids.end(), pid) != found->pids.end())
        found->windows.push_back(window);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 2;
    Found found;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (CompareStringOrdinal(entry.szExeFile, -1, argv[1], -1, TRUE) == CSTR_EQUAL)
            found.pids.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
    if (found.windows.empty())
        return 2;
    for (const HWND window : found.windows) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                 &answer) ||
            !answer)
            return 1;
    }
    for (const HWND window : found.windows) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    return 0;
}
