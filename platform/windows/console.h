// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A Windows program with a window starts without a console: --console borrows the console of
// the command prompt it was started from, for whichever of standard output and error does not
// already go somewhere (a file, a pipe). The lines are UTF-8, so that console is switched to it.
void attachToParentConsole();
