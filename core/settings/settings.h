// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The user's settings record. Options are on exactly when 1; any other stored value is kept
// as it is so that saving never changes what the user did not touch.
struct Settings {
    QString law1;
    QString law2;
    QString law3;
    QString law4;
    qint16 qqnews = 0;
    qint16 flashweb = 0;
    qint16 ssoft = 0;
    QString mysoft;
    qint16 shutdown15 = 0;

    // The record before any file is read: the four placeholder texts, options off, no path.
    static Settings defaults();
    static QString defaultLaw(int number);

    bool operator==(const Settings&) const = default;
};

inline bool isOn(qint16 option)
{
    return option == 1;
}
