// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/windows/windows_backend.h"

#include "core/services/launcher.h"

// Windows' own "open" (ShellExecuteW): a program starts, a shortcut (.lnk) starts what it points
// to, any other file opens with its application, a web address in the default browser. No
// command interpreter is involved, so nothing in a path or an address is ever interpreted.
class ShellLauncher final : public Launcher {
public:
    bool openPath(const QString& path) override;
    bool openAddress(const QString& address) override;
};
