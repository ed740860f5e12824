// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calendar/trading_calendar.h"
#include "core/day/key_moments.h"

#include <QDateTime>
#include <QString>

// The phase at now, worked out in China Standard Time wherever the computer is, from the day's
// table of moments.
MarketPhase marketPhase(const QDateTime& now, const TradingCalendar& calendar);

// What the tray icon shows: the phase's picture, and a tooltip with the status line, Beijing
// time and the next key moment with the time left to it. Both change at most once a minute
// besides the status, so the desktop is not told every second.
struct TrayView {
    MarketPhase picture;
    QString toolTip;

    bool operator==(const TrayView&) const = default;
};
TrayView trayView(const QDateTime& now, const QString& status, MarketPhase phase, const KeyMoment& next);
// The same with the table's next moment alone.
TrayView trayView(const QDateTime& now, const QString& status, const TradingCalendar& calendar);
