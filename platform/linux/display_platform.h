// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

#include <QByteArray>

// The Qt platform to start on, given QT_QPA_PLATFORM and DISPLAY: X11 whenever an X display
// is there (XWayland under a Wayland session), because only X11 lets a window keep itself on
// top or lower itself. Empty: leave Qt's own choice (the user's, or no X display at all).
QByteArray preferredQtPlatform(const QByteArray& chosenByUser, const QByteArray& display);
