// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/windows/windows_backend.h"

// Makes the end of the Windows session (log-off, shutdown, restart: WM_QUERYENDSESSION, then
// WM_ENDSESSION) end the program as its Exit item does, the counterpart of SIGTERM on Linux: it
// never holds the session up, and it leaves the event loop with status 0. Call once, after the
// application object exists.
void quitAtEndOfSession();
