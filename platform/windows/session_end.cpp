// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/session_end.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

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
            // Nothing waits to be saved (the settings are saved when the user says so), so the
            // session may always end. Qt's own answer would first close the windows.
            *result = TRUE;
            return true;
        case WM_ENDSESSION:
            // Windows may end the process any time after this returns.
            if (msg->wParam)
                QCoreApplication::exit(0);
            *result = 0;
            return true;
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
