// SPDX-License-Identifier: GPL-3.0-or-later
// What the installer and the uninstaller cannot do in their own script language. They unpack it
// into their temporary folder and run it; it answers with its exit status:
//   setup-helper running FOLDER         how many programs started from FOLDER are running
//   setup-helper close FOLDER [force]   asks each to end as at the end of the Windows session
//                                       (Tickbell then ends as on its Exit item) and waits; with
//                                       force, ends the ones that did not; how many still run
//   setup-helper elevated               1 when this process runs with administrator rights
//   setup-helper elevate PROGRAM ARGS   runs PROGRAM with ARGS as administrator (the system asks
//                                       the user) and waits: its status, 1223 when declined
//   setup-helper start PROGRAM FOLDER   starts PROGRAM in FOLDER as the desktop's user, without
//                                       the rights this process may have: 0 when started
//   setup-helper remove FILE FOLDER     deletes FILE as soon as the program running it (an
//                                       uninstaller) has ended, then FOLDER if it is empty
// Programs of every user count: those another user's session runs cannot be asked to end (only
// forced to), so they stay running and are counted.
#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>
#include <userenv.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr DWORD kFailed = 0xFFFF;
constexpr DWORD kAnswerTimeoutMs = 5000;
constexpr DWORD kEndTimeoutMs = 15000;
constexpr DWORD kTerminateTimeoutMs = 5000;

std::wstring longPath(const std::wstring& path)
{
    std::wstring full(MAX_PATH, L'\0');
    DWORD n = GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.resize(n);
        n = GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr);
    }
    full.resize(n < full.size() ? n : 0);
    if (full.empty())
        return path;
    std::wstring expanded(32768, L'\0');
    n = GetLongPathNameW(full.c_str(), expanded.data(), DWORD(expanded.size()));
    if (n == 0 || n >= expanded.size())
        return full;
    expanded.resize(n);
    return expanded;
}

// Windows paths compare without regard to case.
bool startsWithFolder(const std::wstring& path, std::wstring folder)
{
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    folder += L'\\';
    return path.size() > folder.size() &&
           CompareStringOrdinal(path.c_str(), int(folder.size()), folder.c_str(), int(folder.size()), TRUE) ==
               CSTR_EQUAL;
}

struct Running {
    DWORD pid;
    HANDLE handle; // for waiting on its end
};

// This process and those that started it (an uninstaller runs on from a copy of itself that
// the one in the folder started) are never counted.
std::vector<DWORD> ownLine(const std::vector<PROCESSENTRY32W>& all)
{
    std::vector<DWORD> line{GetCurrentProcessId()};
    for (bool grew = true; grew && line.size() < 64;) {
        grew = false;
        for (const PROCESSENTRY32W& p : all) {
            if (p.th32ProcessID == line.back() && p.th32ParentProcessID != 0 &&
                std::find(line.begin(), line.end(), p.th32ParentProcessID) == line.end()) {
                line.push_back(p.th32ParentProcessID);
                grew = true;
                break;
            }
        }
    }
    return line;
}

std::vector<Running> runningFrom(const std::wstring& folder)
{
    std::vector<PROCESSENTRY32W> all;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return {};
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        all.push_back(entry);
    CloseHandle(snapshot);

    const std::vector<DWORD> skip = ownLine(all);
    std::vector<Running> found;
    for (const PROCESSENTRY32W& p : all) {
        if (p.th32ProcessID == 0 || std::find(skip.begin(), skip.end(), p.th32ProcessID) != skip.end())
            continue;
        const HANDLE process =
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, p.th32ProcessID);
        if (!process)
            continue;
        std::wstring image(32768, L'\0');
        DWORD size = DWORD(image.size());
        DWORD exitCode = 0;
        if (QueryFullProcessImageNameW(process, 0, image.data(), &size) &&
            GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE) {
            image.resize(size);
            if (startsWithFolder(longPath(image), folder)) {
                found.push_back({p.th32ProcessID, process});
                continue;
            }
        }
        CloseHandle(process);
    }
    return found;
}

void release(std::vector<Running>& processes)
{
    for (const Running& p : processes)
        CloseHandle(p.handle);
    processes.clear();
}

bool ended(const Running& p, DWORD timeoutMs)
{
    return WaitForSingleObject(p.handle, timeoutMs) == WAIT_OBJECT_0;
}

struct WindowsOf {
    const std::vector<Running>* processes;
    std::vector<std::pair<DWORD, HWND>> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM param)
{
    auto* list = reinterpret_cast<WindowsOf*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    for (const Running& p : *list->processes) {
        if (p.pid == pid)
            list->found.emplace_back(pid, window);
    }
    return TRUE;
}

// What Windows itself does at log-off, and what an installer's restart manager does to free
// files: each top-level window is asked whether its program can end, and then told whether it
// does. A program that says no, or does not answer, is left running.
void askToEnd(const std::vector<Running>& processes)
{
    WindowsOf list{&processes, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&list));
    for (const Running& p : processes) {
        std::vector<HWND> agreed;
        bool agrees = true;
        for (const auto& [pid, window] : list.found) {
            DWORD_PTR answer = 0;
            if (pid != p.pid)
                continue;
            // One that does not answer is not asked again through its other windows.
            if (!SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP,
                                     SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs, &answer) ||
                !answer) {
                agrees = false;
                break;
            }
            agreed.push_back(window);
        }
        for (const HWND window : agreed) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(window, WM_ENDSESSION, agrees, ENDSESSION_CLOSEAPP,
                                SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs, &ignored);
        }
    }
}

void enablePrivilege(const wchar_t* name)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
}

DWORD closeRunning(const std::wstring& folder, bool force)
{
    std::vector<Running> processes = runningFrom(folder);
    if (processes.empty())
        return 0;
    askToEnd(processes);
    const ULONGLONG deadline = GetTickCount64() + kEndTimeoutMs;
    for (const Running& p : processes) {
        const ULONGLONG now = GetTickCount64();
        ended(p, now < deadline ? DWORD(deadline - now) : 0);
    }
    if (force) {
        // A silent run asks nobody: a copy still asking its trader about unsaved 交易日历
        // changes goes with them. Another user's copy may be ended only with the debug
        // privilege, which an administrator may take.
        enablePrivilege(L"SeDebugPrivilege");
        for (const Running& p : processes) {
            if (ended(p, 0))
                continue;
            if (const HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, p.pid)) {
                TerminateProcess(h, 1);
                CloseHandle(h);
            }
            ended(p, kTerminateTimeoutMs);
        }
    }
    release(processes);
    processes = runningFrom(folder);
    const DWORD left = DWORD(processes.size());
    release(processes);
    return left;
}

DWORD countRunning(const std::wstring& folder)
{
    std::vector<Running> processes = runningFrom(folder);
    const DWORD n = DWORD(processes.size());
    release(processes);
    return n;
}

bool isElevated()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool elevated = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
                          elevation.TokenIsElevated;
    CloseHandle(token);
    return elevated;
}

DWORD runElevated(const std::wstring& program, const std::wstring& arguments)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = arguments.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info))
        return GetLastError() == ERROR_CANCELLED ? ERROR_CANCELLED : kFailed;
    if (!info.hProcess)
        return kFailed;
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD status = kFailed;
    GetExitCodeProcess(info.hProcess, &status);
    CloseHandle(info.hProcess);
    return status;
}

// The process that owns the user's desktop: the shell (Explorer), or under Wine its explorer.exe.
HANDLE openDesktopOwner()
{
    DWORD pid = 0;
    if (const HWND shell = GetShellWindow())
        GetWindowThreadProcessId(shell, &pid);
    if (pid == 0)
        GetWindowThreadProcessId(GetDesktopWindow(), &pid);
    return pid ? OpenProcess(PROCESS_CREATE_PROCESS | PROCESS_QUERY_INFORMATION, FALSE, pid) : nullptr;
}

// The new process is the desktop owner's child and so gets its rights and its user's environment,
// whatever this process has (an installer elevated by another administrator's account included).
DWORD startAsDesktopUser(const std::wstring& program, const std::wstring& folder)
{
    const HANDLE owner = openDesktopOwner();
    if (!owner && isElevated())
        return kFailed; // rather not start it than start it as administrator
    STARTUPINFOEXW info{};
    info.StartupInfo.cb = sizeof info;
    DWORD flags = 0;
    std::vector<char> attributes;
    void* environment = nullptr;
    HANDLE parent = owner;
    if (owner) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        attributes.resize(size);
        info.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
        if (!InitializeProcThreadAttributeList(info.lpAttributeList, 1, 0, &size) ||
            !UpdateProcThreadAttribute(info.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_PARENT_PROCESS, &parent,
                                       sizeof parent, nullptr, nullptr)) {
            CloseHandle(owner);
            return kFailed;
        }
        flags |= EXTENDED_STARTUPINFO_PRESENT;
        HANDLE token = nullptr;
        if (OpenProcessToken(owner, TOKEN_QUERY | TOKEN_DUPLICATE, &token)) {
            if (CreateEnvironmentBlock(&environment, token, FALSE))
                flags |= CREATE_UNICODE_ENVIRONMENT;
            CloseHandle(token);
        }
    }
    std::wstring commandLine = L"\"" + program + L"\"";
    PROCESS_INFORMATION started{};
    const bool ok = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags,
                                   environment, folder.c_str(), &info.StartupInfo, &started);
    if (environment)
        DestroyEnvironmentBlock(environment);
    if (owner) {
        DeleteProcThreadAttributeList(info.lpAttributeList);
        CloseHandle(owner);
    }
    if (!ok)
        return kFailed;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return 0;
}

DWORD removeOnceFree(const std::wstring& file, const std::wstring& folder)
{
    for (int attempt = 0; attempt < 600; ++attempt) {
        if (DeleteFileW(file.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) {
            RemoveDirectoryW(folder.c_str());
            // This copy goes at the next restart where that may be arranged (as administrator).
            wchar_t self[MAX_PATH];
            if (GetModuleFileNameW(nullptr, self, MAX_PATH))
                MoveFileExW(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
            return 0;
        }
        Sleep(100);
    }
    return kFailed;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return int(kFailed);
    const std::wstring command = argv[1];
    DWORD status = kFailed;
    if (command == L"running" && argc == 3)
        status = countRunning(longPath(argv[2]));
    else if (command == L"close" && (argc == 3 || (argc == 4 && std::wstring(argv[3]) == L"force")))
        status = closeRunning(longPath(argv[2]), argc == 4);
    else if (command == L"elevated" && argc == 2)
        status = isElevated() ? 1 : 0;
    else if (command == L"elevate" && argc == 4)
        status = runElevated(argv[2], argv[3]);
    else if (command == L"start" && argc == 4)
        status = startAsDesktopUser(argv[2], argv[3]);
    else if (command == L"remove" && argc == 4)
        status = removeOnceFree(argv[2], argv[3]);
    LocalFree(argv);
    return int(status);
}
