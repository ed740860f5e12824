// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Starts things outside the program and forgets them. Nothing goes through a shell and
// nothing is waited for. Both return false, after saying why on standard error, when
// nothing could be started.
class Launcher {
public:
    virtual ~Launcher() = default;
    // The counterpart of the shell's "open": an executable is started, a desktop entry starts
    // the application it describes, any other file opens with the desktop's association.
    virtual bool openPath(const QString& path) = 0;
    // A web address, in the user's browser.
    virtual bool openAddress(const QString& address) = 0;
};
