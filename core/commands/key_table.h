// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's keys, by Windows virtual-key code (27 Escape, 48-57 the main row's
// digits; the keypad's 96-105 are not in the table).
enum class KeyAction {
    None,
    Minimise,
    Command1,
    Command2,
    Command3,
    Command4,
    Command5,
    Command6,
    Command7,
    Command8,
    Calculator,       // dgsdfssf_Click
    SwitchCalculator, // dsfadsf_Click
};

KeyAction keyTableAction(int virtualKey);
