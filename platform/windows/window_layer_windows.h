// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/windows/windows_backend.h"

#include "platform/window_stacking.h"

// Through Qt, which on Windows keeps the window topmost or puts it at the bottom of the
// z-order, neither moving nor resizing it.
class WindowsWindowLayer final : public WindowStacking {
public:
    void setLayer(QWindow* window, Layer layer) override;
};
