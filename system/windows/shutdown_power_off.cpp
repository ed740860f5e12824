// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/power_off.h"

#include <QLoggingCategory>
#include <QTimer>

#include <windows.h>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcPower, "tickbell.power")

namespace {

QString systemText(DWORD code)
{
    return u"%1（错误 %2）"_s.arg(qt_error_string(int(code)).trimmed()).arg(code);
}

// The shutdown privilege is the user's to have but off in every process until enabled.
QString enableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return u"无法取得关机权限：%1"_s.arg(systemText(GetLastError()));
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    QString problem;
    if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        problem = u"无法取得关机权限：%1"_s.arg(systemText(GetLastError()));
    } else if (!AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) {
        problem = u"无法取得关机权限：%1"_s.arg(systemText(GetLastError()));
    } else if (GetLastError() == ERROR_NOT_ALL_ASSIGNED) {
        problem = u"这个用户没有关机的权限"_s;
    }
    CloseHandle(token);
    return problem;
}

// As the Start menu's Shut down: the other programs are asked to close (and may hold the
// shutdown up to save their work), then the computer powers off.
QString shutDown()
{
    if (const QString problem = enableShutdownPrivilege(); !problem.isEmpty())
        return problem;
    qCInfo(lcPower, "asking Windows to power off (InitiateShutdownW)");
    const DWORD result =
        InitiateShutdownW(nullptr, nullptr, 0, SHUTDOWN_POWEROFF,
                          SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED);
    if (result == ERROR_SUCCESS)
        return {};
    qCWarning(lcPower, "InitiateShutdownW failed: %lu", static_cast<unsigned long>(result));
    return u"Windows 拒绝了关机请求：%1"_s.arg(systemText(result));
}

class WindowsPowerOff final : public PowerOff {
public:
    void requestPowerOff(QObject* context, std::function<void(const QString&)> done) override
    {
        // The call returns at once; the answer still comes from the event loop, as on Linux.
        const QString refusal = shutDown();
        QTimer::singleShot(0, context, [done, refusal] { done(refusal); });
    }
};

} // namespace

std::unique_ptr<PowerOff> makeSystemPowerOff()
{
    return std::make_unique<WindowsPowerOff>();
}
