// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/services/clock.h"

#include <windows.h>

namespace {

QDateTime face(const SYSTEMTIME& t)
{
    return QDateTime(QDate(t.wYear, t.wMonth, t.wDay), QTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds),
                     Qt::UTC);
}

} // namespace

QDateTime wallClockNow()
{
    // UTC, and the zone's offset for that same moment from Windows itself: a QDateTime in local
    // time would go through the C runtime's mktime, which reads TZ.
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    const QDateTime now = face(utc);
    SYSTEMTIME local{};
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return now;
    return now.toOffsetFromUtc(int(now.secsTo(face(local))));
}
