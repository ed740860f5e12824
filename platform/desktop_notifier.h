// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The desktop's own notifications: a short message the system shows for a while and then takes
// away by itself, without taking the focus.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    // Whether the desktop has a service that shows them, now.
    virtual bool available() = 0;
    // Asks for one; never waits for the desktop's answer.
    virtual void notify(const QString& summary, const QString& body) = 0;
};

// How long a notification stays, where the system lets the program say.
constexpr int kNotificationShownMs = 15000;
