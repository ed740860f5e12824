// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/session_end.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QString>

#include <windows.h>

namespace {

class SessionEndFilter final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override
    {
        if (eventType != "windows_generic_MSG")
            return false;
        const auto* msg = static_cast<const MSG*>(message);
        switch (msg->message) {
        case WM_QUERYENDSESSION:
            // Qt answers: commitDataRequest, and no when it was cancelled there. It then waits
            // for WM_ENDSESSION, which Windows sends only to the programs that said yes: one that
            // said no would answer every later request from that state, without asking. Told
            // "not ending" once this one is answered, it starts afresh.
            PostMessageW(msg->hwnd, WM_ENDSESSION, FALSE, msg->lParam);
            return false;
        case WM_ENDSESSION:
            // Windows may end the process any time after this returns.
            if (msg->wParam) {
                QCoreApplication::exit(0);
                *result = 0;
                return true;
            }
            return false;
        default: return false;
        }
    }
};

} // namespace

void quitAtEndOfSession()
{
    static SessionEndFilter filter;
    static bool installed = false;
    if (installed)
        return;
    QCoreApplication::instance()->installNativeEventFilter(&filter);
    installed = true;
}

void explainEndOfSessionWait(quintptr window, const QString& why)
{
    const auto handle = reinterpret_cast<HWND>(window);
    if (why.isEmpty())
        ShutdownBlockReasonDestroy(handle);
    else
        ShutdownBlockReasonCreate(handle, reinterpret_cast<const wchar_t*>(why.utf16()));
}
