// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

#include "platform/window_stacking.h"

// Stacking through the window manager's hints (_NET_WM_STATE_ABOVE on X11) and a plain lower.
class WindowLayer final : public WindowStacking {
public:
    void setLayer(QWindow* window, Layer layer) override;

private:
    bool m_warned = false;
};
