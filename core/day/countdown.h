// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// One tick of the after-close countdown (Timer4).
struct CountdownStep {
    enum class Action {
        ShowTitle, // set the window title to title, keep counting
        Exit,      // end the program at once
        Cancel,    // set the title to title, stop Timer4
    };
    Action action;
    QString title;
};

// c2exit is the seconds left, 16 at rest; the step updates it.
CountdownStep countdownTick(bool autoexit, qint16& c2exit, const QString& SoftVer1);

// The title that a cancelled countdown restores.
QString cancelledTitle(const QString& SoftVer1);
