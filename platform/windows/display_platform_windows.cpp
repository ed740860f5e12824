// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/display_platform.h"

// Windows has one platform plugin; a DISPLAY in the environment (Wine passes the Unix one on)
// must not send Qt looking for X11.
QByteArray preferredQtPlatform(const QByteArray&, const QByteArray&)
{
    return {};
}
