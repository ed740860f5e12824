// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calendar/trading_calendar.h"

#include <QDateTime>
#include <QString>

// The moments of a trading day when an order's timing matters: the opening call auction
// (9:15, orders fixed from 9:20, matched at 9:25), the sessions' bounds, and the closing call
// auction from 14:57.
struct KeyMoment {
    QDateTime at; // in Beijing time; invalid when none lies in the next year
    QString name;
};

// The first key moment after now (any zone) on a day the exchanges trade, by the exchanges'
// own clock (Beijing time).
KeyMoment nextKeyMoment(const QDateTime& now, const TradingCalendar& calendar);
