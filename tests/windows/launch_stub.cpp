// SPDX-License-Identifier: GPL-3.0-or-later
// Started by the launcher test: writes the folder it was started in (UTF-16) to launched.txt.
#include <windows.h>

int main()
{
    wchar_t folder[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    const HANDLE file = CreateFileW(L"launched.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (length == 0 || file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, folder, length * sizeof(wchar_t), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
