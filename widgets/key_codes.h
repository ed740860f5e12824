// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;

// The Windows virtual-key code of a key press as far as the main window's key table cares:
// 27 Escape, 48-57 the digits of the main row (also when Shift makes them "!" and so on:
// the physical key counts), 96-105 the keypad's digits, 0 for anything else.
int windowsVirtualKey(const QKeyEvent& event);
