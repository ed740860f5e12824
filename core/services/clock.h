// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// The wall clock. Logic never reads the time itself; tests pass a clock they step.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0; // local time
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
