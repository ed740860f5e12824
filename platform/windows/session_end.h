// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/windows/windows_backend.h"

#include <QString>

// Makes the end of the Windows session (log-off, shutdown, restart: WM_QUERYENDSESSION, then
// WM_ENDSESSION) end the program as its Exit item does, the counterpart of SIGTERM on Linux: it
// leaves the event loop with status 0. The question comes to Qt first, whose commitDataRequest
// may ask the trader about unsaved changes, and cancel. Call once, after the application object
// exists.
void quitAtEndOfSession();

// ShutdownBlockReasonCreate (why) or ShutdownBlockReasonDestroy (empty) for that window.
void explainEndOfSessionWait(quintptr window, const QString& why);
