// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calendar/trading_calendar.h"
#include "core/reminders/reminder.h"

#include <QDateTime>
#include <QList>

#include <vector>

// Whether days trade, asked of the calendar once per day and remembered: the rules look at a
// day's neighbours, and many reminders look at the same days. Valid while the calendar is
// unchanged.
class TradingDays {
public:
    explicit TradingDays(const TradingCalendar& calendar) : m_calendar(calendar) {}
    bool trades(QDate date) const;

private:
    const TradingCalendar& m_calendar;
    mutable qint64 m_first = 0;               // the Julian day of m_known[0]
    mutable std::vector<signed char> m_known; // -1 not asked yet, else 0 or 1
};

// A closure: at least this many calendar days in a row without trading (a plain weekend has two).
inline constexpr int kClosureDays = 3;

// Whether the 日子 holds on date: 每个交易日 and 周一..周五 on the trading days, 休市前最后一个交易日
// on a trading day followed by a closure, 休市后第一个交易日 on the first after one, the month's
// first and last trading days, and a date on that day whether it trades or not. Whether the
// reminder is switched on is the caller's to ask.
bool appliesOn(const ReminderDay& day, QDate date, const TradingDays& days);
bool appliesOn(const Reminder& reminder, QDate date, const TradingCalendar& calendar);

// How far ahead the next times are looked for.
inline constexpr int kLookAheadDays = 800;

// The next count moments a reminder rings at, later than after (any zone), in Beijing time; fewer
// (or none) when it rings no more within kLookAheadDays. A reminder switched off rings too: the
// window shows where it would.
QList<QDateTime> nextOccurrences(const Reminder& reminder, const QDateTime& after, const TradingDays& days,
                                 int count = 1);
QList<QDateTime> nextOccurrences(const Reminder& reminder, const QDateTime& after,
                                 const TradingCalendar& calendar, int count = 1);

// "12月31日（周四）14:30", with the year in front when it is not the year of today.
QString occurrenceText(const QDateTime& at, QDate today = {});
