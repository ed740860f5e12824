// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/commands/key_table.h"

KeyAction keyTableAction(int virtualKey)
{
    switch (virtualKey) {
    case 27: return KeyAction::Minimise;
    case 49: return KeyAction::Command1;
    case 50: return KeyAction::Command2;
    case 51: return KeyAction::Command3;
    case 52: return KeyAction::Command4;
    case 53: return KeyAction::Command5;
    case 54: return KeyAction::Command6;
    // Keys 7 and 8 follow the digits on the image buttons, not the hidden buttons' numbers.
    case 55: return KeyAction::Command8;
    case 56: return KeyAction::Command7;
    case 57: return KeyAction::Calculator;
    case 48: return KeyAction::SwitchCalculator;
    default: return KeyAction::None;
    }
}
