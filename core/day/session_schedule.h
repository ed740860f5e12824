// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calendar/trading_calendar.h"
#include "core/commands/launch_targets.h"
#include "core/settings/settings.h"

#include <QDateTime>
#include <QList>
#include <QString>

// What the trading day does at the tick, in the order given.
struct ScheduleEffect {
    enum class Kind {
        SetStatus,     // Label1 := text
        SetAdvice,     // Label4 := text
        AppendAdvice,  // Label4 += text
        RequestPrompt, // playok := text, then playsound
        Launch,        // run the launch command of target
        MarkOpened,    // openall := 1
        ArmCountdown,  // enable Timer4 (left alone when it already runs)
    };
    Kind kind;
    QString text;
    LaunchTarget launch = LaunchTarget::NewsPage; // only for Launch

    bool operator==(const ScheduleEffect&) const = default;
};

// The only memory the schedule has between ticks; both live in the trading day.
struct ScheduleMemory {
    QString playok;
    qint16 openall = 0;
};

struct TickResult {
    QString clockLine; // Label3, every tick
    QList<ScheduleEffect> effects;
};

namespace ScheduleText {
extern const QString Welcome; // advice W, also Label4's text when the window opens
extern const QString AuctionAdvice;
extern const QString HolidayTomorrow;
extern const QString WeekendTomorrow;
} // namespace ScheduleText

// The trading-day timetable. Works the phase out afresh from "now" on every tick; it reads
// no clock of its own, so tests drive it second by second.
class SessionSchedule {
public:
    explicit SessionSchedule(const TradingCalendar& calendar) : m_calendar(calendar) {}

    TickResult tick(const QDateTime& now, const ScheduleMemory& memory, const Settings& settings,
                    bool autoexit) const;

    // "2009年9月22日 9:30:05" in the computer's own time, with " 北京时间 9:20:00" after it
    // where that differs from China Standard Time.
    static QString clockLine(const QDateTime& now);
    // The exchanges keep China Standard Time (UTC+8, no daylight saving) wherever the computer
    // is: the phases, the calendar's today and tomorrow and the close are worked out in it.
    static QDateTime exchangeTime(const QDateTime& now);

private:
    const TradingCalendar& m_calendar;
};
