// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/display_platform.h"

QByteArray preferredQtPlatform(const QByteArray& chosenByUser, const QByteArray& display)
{
    if (!chosenByUser.isEmpty() || display.isEmpty())
        return {};
    return QByteArrayLiteral("xcb");
}
