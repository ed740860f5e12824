// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

// Makes SIGTERM, SIGINT and SIGHUP (a request to stop from the session, a task manager or a
// terminal) end the event loop, so the program stops as its Exit item stops it: without
// minimising, without saving, and with its one-copy lock released. Call once, after the
// application object exists.
void quitOnTerminationSignals();
