// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/display_platform.h"

#include <QList>

QByteArray preferredQtPlatform(const QByteArray& chosenByUser, const QByteArray& display,
                               const QByteArray& waylandDisplay)
{
    static const QByteArray offscreen = QByteArrayLiteral("offscreen");
    QByteArray platforms = !chosenByUser.isEmpty()     ? chosenByUser
                           : !display.isEmpty()        ? QByteArrayLiteral("xcb")
                           : !waylandDisplay.isEmpty() ? QByteArrayLiteral("wayland")
                                                       : QByteArray();
    // A name may carry arguments after a colon ("xcb:foo").
    for (const QByteArray& entry : platforms.split(';')) {
        if (entry.split(':').constFirst().trimmed() == offscreen)
            return platforms;
    }
    if (platforms.isEmpty())
        return offscreen;
    return platforms + ';' + offscreen;
}
