// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWindow;

// Where a top-level window stacks against the others. None of these moves or resizes it.
class WindowStacking {
public:
    enum class Layer {
        Normal,  // ordinary stacking, not kept on top
        TopMost, // stays above every ordinary window
        Bottom,  // placed once below all others, not kept there
    };
    virtual ~WindowStacking() = default;
    virtual void setLayer(QWindow* window, Layer layer) = 0;
};
