// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/services/clock.h"

QDateTime wallClockNow()
{
    // glibc's local time follows TZ, zone names included.
    return QDateTime::currentDateTime();
}
