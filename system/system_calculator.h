// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The system's own calculator: the program to start, or, when none is installed, a message
// for the user naming what to install.
struct SystemCalculator {
    QString program;
    QStringList arguments;
    QString missing;
};

SystemCalculator findSystemCalculator();
