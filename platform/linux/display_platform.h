// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/linux_backend.h"

#include <QByteArray>

// The Qt platforms to try, in Qt's order-of-preference form ("xcb;offscreen"), given
// QT_QPA_PLATFORM and the X and Wayland displays: X11 whenever an X display is there (XWayland
// under a Wayland session), because only X11 lets a window keep itself on top or lower itself;
// the user's own choice otherwise. Qt's offscreen platform ends every list, so that a desktop
// that is missing or cannot be reached never aborts the program: it then runs offscreen and
// finds it has no desktop.
QByteArray preferredQtPlatform(const QByteArray& chosenByUser, const QByteArray& display,
                               const QByteArray& waylandDisplay);
