// SPDX-License-Identifier: GPL-3.0-or-later
// plug\NAME.exe on Windows: runs NAME.exe of the program folder above it, where the Qt and
// compiler runtime lie (Windows looks for a program's DLLs in the program's own folder only), with
// the same arguments, working folder and window state, and ends with its status. So plug\ needs no
// second copy of the runtime, and plug\NAME.exe works as Tickbell starts it and as Explorer does.
#include <windows.h>

namespace {

// Paths as long as Windows allows; static, so they cost the file nothing.
wchar_t g_own[32768];
wchar_t g_tool[32768];

// The tool of the same name one folder up: ...\plug\clocktool.exe -> ...\clocktool.exe. False when
// there is no folder above.
bool findTool()
{
    const DWORD n = GetModuleFileNameW(nullptr, g_own, ARRAYSIZE(g_own));
    if (n == 0 || n >= ARRAYSIZE(g_own))
        return false;
    int name = -1, folder = -1;
    for (int i = 0; g_own[i]; ++i) {
        if (g_own[i] == L'\\') {
            folder = name;
            name = i;
        }
    }
    if (folder < 0)
        return false;
    lstrcpynW(g_tool, g_own, folder + 1);
    lstrcatW(g_tool, g_own + name);
    return true;
}

// What follows the program's name on the command line, untouched: the caller's quoting stays
// the caller's. The name ends as CommandLineToArgvW ends it.
const wchar_t* argumentsOf(const wchar_t* commandLine)
{
    const wchar_t* p = commandLine;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p)
            ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    return p;
}

DWORD failed(DWORD error)
{
    wchar_t* why = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&why), 0, nullptr);
    const int size = lstrlenW(g_tool) + (why ? lstrlenW(why) : 0) + 32;
    auto* text = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, size * sizeof(wchar_t)));
    if (text) {
        lstrcpyW(text, L"无法启动 ");
        lstrcatW(text, g_tool[0] ? g_tool : L"工具");
        lstrcatW(text, L"：");
        if (why)
            lstrcatW(text, why);
        else
            wsprintfW(text + lstrlenW(text), L"%lu", error);
        MessageBoxW(nullptr, text, L"Tickbell", MB_OK | MB_ICONERROR);
    }
    LocalFree(why);
    return error;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (!findTool())
        return int(failed(ERROR_PATH_NOT_FOUND));

    STARTUPINFOW given{};
    GetStartupInfoW(&given);
    STARTUPINFOW info{};
    info.cb = sizeof info;
    info.dwFlags = given.dwFlags & (STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES);
    info.wShowWindow = given.wShowWindow;
    const bool passHandles = info.dwFlags & STARTF_USESTDHANDLES;
    if (passHandles) {
        info.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        info.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        info.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    const wchar_t* arguments = argumentsOf(GetCommandLineW());
    auto* commandLine = static_cast<wchar_t*>(
        HeapAlloc(GetProcessHeap(), 0, (lstrlenW(g_tool) + lstrlenW(arguments) + 3) * sizeof(wchar_t)));
    if (!commandLine)
        return int(failed(ERROR_NOT_ENOUGH_MEMORY));
    lstrcpyW(commandLine, L"\"");
    lstrcatW(commandLine, g_tool);
    lstrcatW(commandLine, L"\"");
    lstrcatW(commandLine, arguments);
    PROCESS_INFORMATION started{};
    // Suspended until it may take the foreground, which this starter has from whoever started it.
    if (!CreateProcessW(g_tool, commandLine, nullptr, nullptr, passHandles, CREATE_SUSPENDED, nullptr,
                        nullptr, &info, &started))
        return int(failed(GetLastError()));
    AllowSetForegroundWindow(started.dwProcessId);
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    // Whoever waits for plug\NAME.exe waits for the tool, and gets its status.
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(started.hProcess, &status);
    CloseHandle(started.hProcess);
    return int(status);
}
