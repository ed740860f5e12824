// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/window_layer_windows.h"

#include <QWindow>

void WindowsWindowLayer::setLayer(QWindow* window, Layer layer)
{
    if (!window)
        return;
    window->setFlag(Qt::WindowStaysOnTopHint, layer == Layer::TopMost);
    if (layer == Layer::TopMost)
        window->raise();
    else if (layer == Layer::Bottom)
        window->lower();
}
