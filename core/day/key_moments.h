// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calendar/trading_calendar.h"
#include "core/reminders/reminder.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>

#include <optional>

// Where the exchanges' day stands, as the tray's picture shows it at a glance.
enum class MarketPhase {
    Auction, // the call auctions: 9:15-9:30, the 12:50 auction, 14:57-15:00
    Trading, // the sessions: 9:30-11:30 and 13:00-14:57
    Midday,  // the break: 11:30-12:50
    Closed,  // before 9:15, after 15:00, and every day the exchanges do not trade
};

// One moment of a day, by Beijing time. The one table of them (dayMoments) holds the day's key
// moments with their voice prompts and advice, and the exchanges' auction phases; with the
// trader's own reminders that ring on a day (momentsOn) it is that day's list. The schedule, the
// tray's picture and tooltip, the notifications, the reminders and the clock tool all read it.
struct DayMoment {
    QTime at;
    QString name;                     // as the tooltip and the clock tool name it
    std::optional<MarketPhase> phase; // the market from this moment on
    QString status;                   // Label1 from this moment on
    QString prompt;                   // the voice prompt asked for in its window
    QString advice;                   // shown with the prompt
    QTime windowEnd;                  // the prompt's window: from at up to here
    QString keyStatus;                // Label1 for the whole window (the key minutes)
    bool auction = false;             // the auction reminder: tomorrow's notices, the launches
    bool own = false;                 // the trader's own reminder; name is its text
};

// The table, in time order.
const QList<DayMoment>& dayMoments();
// On a trading day at t: the moment whose prompt window holds t, if any; Label1 before any key
// minute's own; the market's phase.
const DayMoment* momentWindow(QTime t);
QString sectionStatus(QTime t);
MarketPhase phaseAt(QTime t);

class TradingDays;

// The list of date: the table's moments when the exchanges trade, and the trader's own
// reminders (those switched on) that ring on it, in time order.
QList<DayMoment> momentsOn(QDate date, const TradingDays& days, const QList<Reminder>& own);

// The first moment after now (any zone), by the exchanges' own clock (Beijing time): the
// table's on the days the exchanges trade, and the trader's own on the days they ring.
struct KeyMoment {
    QDateTime at; // in Beijing time; invalid when none lies in the next year
    QString name;
    bool own = false;
};
KeyMoment nextKeyMoment(const QDateTime& now, const TradingCalendar& calendar,
                        const QList<Reminder>& own = {});
// The first moment of the next trading day after date.
KeyMoment nextTradingDayStart(QDate date, const TradingCalendar& calendar);
