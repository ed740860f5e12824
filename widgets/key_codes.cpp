// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/key_codes.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace {

// The digit (0-9) of the main-row key with this native scan code, or -1.
int digitFromScanCode(quint32 scanCode)
{
    const QString platform = QGuiApplication::platformName();
    int row = -1; // position in the row 1 2 3 4 5 6 7 8 9 0
    if (platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland")))
        row = int(scanCode) - 10; // X keycodes: evdev code + 8, and "1" is evdev 2
    else if (platform == QLatin1String("windows"))
        row = int(scanCode) - 0x02; // set-1 scan codes
    if (row < 0 || row > 9)
        return -1;
    return (row + 1) % 10;
}

} // namespace

int windowsVirtualKey(const QKeyEvent& event)
{
    const int key = event.key();
    const bool isDigitKey = key >= Qt::Key_0 && key <= Qt::Key_9;
    if (event.modifiers() & Qt::KeypadModifier)
        return isDigitKey ? 96 + (key - Qt::Key_0) : 0;
    if (key == Qt::Key_Escape)
        return 27;
    if (isDigitKey)
        return 48 + (key - Qt::Key_0);
    const int digit = digitFromScanCode(event.nativeScanCode());
    return digit >= 0 ? 48 + digit : 0;
}
