// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/services/clock.h"

#include <windows.h>

qint64 steadyClockMs()
{
    // The performance counter counts on through sleep and hibernation, unlike the unbiased
    // interrupt time.
    static const qint64 frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return qint64(f.QuadPart);
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return qint64(now.QuadPart) / frequency * 1000 + qint64(now.QuadPart) % frequency * 1000 / frequency;
}
