// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/time_sync.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QPointer>
#include <QTimer>
#include <QWinEventNotifier>

#include <windows.h>

#include <shellapi.h>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcTime, "tickbell.time")

namespace {

// The argument of the elevated second start.
constexpr wchar_t kResyncArgument[] = L"--resync-windows-time";

QString systemText(DWORD code)
{
    return u"%1（错误 %2）"_s.arg(qt_error_string(int(code)).trimmed()).arg(code);
}

QString systemFolderFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    return QString::fromWCharArray(folder, int(n)) + u'\\' + QString::fromWCharArray(name);
}

// What the elevated start ended with: 0, a Windows error code from starting the service or
// w32tm, or w32tm's own failure (an HRESULT, above the error codes).
QString outcomeText(DWORD code)
{
    switch (code) {
    case 0: return {};
    case ERROR_SERVICE_DOES_NOT_EXIST: return u"本机没有 Windows 时间服务（W32Time）"_s;
    case ERROR_SERVICE_DISABLED: return u"Windows 时间服务已被禁用，请在“服务”中把它设为手动或自动"_s;
    case ERROR_TIMEOUT: return u"Windows 时间服务没有及时回应"_s;
    default: break;
    }
    if (code > 0xFFFF)
        return u"w32tm /resync 没有成功（0x%1）：%2"_s.arg(code, 8, 16, QChar(u'0'))
            .arg(qt_error_string(int(code & 0xFFFF)).trimmed());
    return systemText(code);
}

// Waits for the elevated start without blocking, and lets go of its handle whatever happens.
class ProcessWait : public QObject {
public:
    ProcessWait(HANDLE process, QObject* context, std::function<void(const QString&)> done)
        : QObject(context), m_process(process), m_notifier(process, this)
    {
        connect(&m_notifier, &QWinEventNotifier::activated, this, [this, done] {
            DWORD code = 0;
            if (!GetExitCodeProcess(m_process, &code))
                code = GetLastError();
            qCInfo(lcTime, "the elevated resync ended with %lu", static_cast<unsigned long>(code));
            deleteLater();
            done(outcomeText(code));
        });
    }
    ~ProcessWait() override { CloseHandle(m_process); }

private:
    HANDLE m_process;
    QWinEventNotifier m_notifier;
};

// The Windows time service does it: started if it is not running, then told to resynchronise
// (w32tm /resync). Both need an administrator, so a second copy of this program does them,
// started elevated (Windows asks the user).
class WindowsTimeSync final : public TimeSync {
public:
    void isSyncOn(QObject* context, std::function<void(std::optional<bool>)> done) override
    {
        // A resync always asks the service for a fresh sample: never "nothing would change".
        QTimer::singleShot(0, context, [done] { done(std::nullopt); });
    }

    void requestSync(QObject* context, std::function<void(const QString&)> done) override
    {
        const std::wstring self =
            QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdWString();
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.lpVerb = L"runas";
        info.lpFile = self.c_str();
        info.lpParameters = kResyncArgument;
        info.nShow = SW_HIDE;
        qCInfo(lcTime, "asking the Windows time service to resynchronise (elevated)");
        if (!ShellExecuteExW(&info) || !info.hProcess) {
            const DWORD error = GetLastError();
            const QString why = error == ERROR_CANCELLED ? u"没有得到管理员的同意"_s : systemText(error);
            qCWarning(lcTime, "the elevated start failed: %lu", static_cast<unsigned long>(error));
            QTimer::singleShot(0, context, [done, why] { done(why); });
            return;
        }
        new ProcessWait(info.hProcess, context, std::move(done));
    }
};

DWORD startTimeService()
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return GetLastError();
    SC_HANDLE service = OpenServiceW(manager, L"W32Time", SERVICE_START | SERVICE_QUERY_STATUS);
    DWORD result = service ? ERROR_SUCCESS : GetLastError();
    if (service) {
        SERVICE_STATUS status{};
        if (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_RUNNING) {
            if (!StartServiceW(service, 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
                result = GetLastError();
            // A started service takes a moment to take requests.
            for (int i = 0; result == ERROR_SUCCESS && i < 60; ++i) {
                if (!QueryServiceStatus(service, &status))
                    result = GetLastError();
                else if (status.dwCurrentState == SERVICE_RUNNING)
                    break;
                else if (i == 59)
                    result = ERROR_TIMEOUT;
                Sleep(250);
            }
        }
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return result;
}

DWORD resync()
{
    if (const DWORD started = startTimeService(); started != ERROR_SUCCESS)
        return started;
    // By its full path and with a fixed command line: nothing of the user's is interpreted.
    const std::wstring program = systemFolderFile(L"w32tm.exe").toStdWString();
    std::wstring commandLine = L"w32tm.exe /resync";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process))
        return GetLastError();
    CloseHandle(process.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, 60'000) != WAIT_OBJECT_0)
        code = ERROR_TIMEOUT;
    else if (!GetExitCodeProcess(process.hProcess, &code))
        code = GetLastError();
    CloseHandle(process.hProcess);
    return code;
}

} // namespace

std::unique_ptr<TimeSync> makeSystemTimeSync()
{
    return std::make_unique<WindowsTimeSync>();
}

std::optional<int> runElevatedTimeSync(const QStringList& arguments)
{
    if (!arguments.contains(QString::fromWCharArray(kResyncArgument)))
        return std::nullopt;
    return int(resync());
}
