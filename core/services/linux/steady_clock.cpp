// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/services/clock.h"

#include <time.h>

qint64 steadyClockMs()
{
    // CLOCK_MONOTONIC stops while the computer sleeps: a resume would look like the wall
    // clock being set.
    timespec t{};
    clock_gettime(CLOCK_BOOTTIME, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1'000'000;
}
