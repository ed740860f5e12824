// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/instance_lock.h"

#include <windows.h>

using namespace Qt::StringLiterals;

QString instanceServerName(const QString& base)
{
    // Pipe names are the whole machine's: the session keeps the sessions of a user apart.
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return base + u"-session"_s + QString::number(session);
}

InstanceLock takeInstanceLock(const QString& serverName, std::shared_ptr<void>& holder)
{
    // A mutex in the session's own namespace lives as long as a handle to it: nothing stays
    // behind in the user's folders, nor after a copy that crashed.
    const std::wstring name = QString(u"Local\\"_s + serverName + u"-lock"_s).toStdWString();
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (!mutex)
        return GetLastError() == ERROR_ACCESS_DENIED ? InstanceLock::HeldByAnother
                                                     : InstanceLock::Unavailable;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return InstanceLock::HeldByAnother;
    }
    holder = std::shared_ptr<void>(mutex, CloseHandle);
    return InstanceLock::Taken;
}

qint64 allowPeerToTakeForeground(qintptr socket)
{
    // The process started last, by the user, may give the foreground away; the first copy, in
    // the background, may not take it by itself (its taskbar button would only flash).
    ULONG pid = 0;
    if (!GetNamedPipeServerProcessId(reinterpret_cast<HANDLE>(socket), &pid) || pid == 0)
        return 0;
    AllowSetForegroundWindow(pid);
    return pid;
}
