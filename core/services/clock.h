// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// Milliseconds on a clock that setting the computer's clock never moves and that runs on while
// the computer sleeps (its start is arbitrary): steps of the wall clock are seen against it.
qint64 steadyClockMs();

// The computer's clock, as the time of day its own zone shows, with that zone's offset from UTC
// at this moment. On Windows the zone is Windows' own, never the C runtime's: that one reads TZ
// and takes a name it does not know (TZ=Asia/Shanghai, as Wine users on Linux have it) for UTC.
QDateTime wallClockNow();

// The wall clock. Logic never reads the time itself; tests pass a clock they step.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0; // the computer's local time
    virtual qint64 steadyMs() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return wallClockNow(); }
    qint64 steadyMs() const override { return steadyClockMs(); }
};
