// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calendar/trading_calendar.h"

#include <QDateTime>
#include <QString>

// Where the exchanges' day stands, as the tray's picture shows it at a glance.
enum class MarketPhase {
    Auction, // the call auctions: 9:15-9:30 and 14:57-15:00
    Trading, // the sessions: 9:30-11:30 and 13:00-14:57
    Midday,  // the break: 11:30-13:00
    Closed,  // before 9:15, after 15:00, and every day the exchanges do not trade
};

// The phase at now, worked out in China Standard Time wherever the computer is.
MarketPhase marketPhase(const QDateTime& now, const TradingCalendar& calendar);

// What the tray icon shows: the phase's picture, and a tooltip with the status line, Beijing
// time and the next key moment with the time left to it. Both change at most once a minute
// besides the status, so the desktop is not told every second.
struct TrayView {
    MarketPhase picture;
    QString toolTip;

    bool operator==(const TrayView&) const = default;
};
TrayView trayView(const QDateTime& now, const QString& status, const TradingCalendar& calendar);
