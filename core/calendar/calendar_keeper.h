// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calendar/trading_calendar.h"

#include <QDate>
#include <QString>

// Whoever holds the trading calendar for the run (the trading day). The calendar window edits a
// copy of it and hands it back through saveCalendar.
class CalendarKeeper {
public:
    virtual ~CalendarKeeper() = default;
    virtual const TradingCalendar& calendar() const = 0;
    // Writes the copy's own days (TradingCalendar::ownMarks) to the trader's holidays file,
    // replacing it whole, and runs on the copy from the next tick; false, with the reason in *error (Chinese,
    // for the user), when the file kept its old days and the calendar with them.
    virtual bool saveCalendar(const TradingCalendar& edited, QString* error = nullptr) = 0;
    // Where saveCalendar writes.
    virtual QString calendarPath() const = 0;
    // Today at the exchanges (China Standard Time).
    virtual QDate exchangeToday() const = 0;
};
