// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/window_layer.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QWindow>

Q_LOGGING_CATEGORY(lcStacking, "tickbell.stacking")

void WindowLayer::setLayer(QWindow* window, Layer layer)
{
    if (!window)
        return;
    if (!m_warned && QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        qCWarning(lcStacking,
                  "this Wayland desktop does not let a program keep itself on top or lower itself");
        m_warned = true;
    }
    // Toggling the flag on the QWindow changes the state of the same native window; the
    // QWidget route would destroy and re-create it.
    window->setFlag(Qt::WindowStaysOnTopHint, layer == Layer::TopMost);
    if (layer == Layer::TopMost)
        window->raise();
    else if (layer == Layer::Bottom)
        window->lower();
}
