// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/market_phase.h"

#include "core/day/session_schedule.h"

using namespace Qt::StringLiterals;

namespace {

// "5分钟", "1小时5分钟", "2天18小时": days leave the minutes out.
QString timeLeft(qint64 minutes)
{
    const qint64 days = minutes / 1440, hours = minutes % 1440 / 60, rest = minutes % 60;
    QString text;
    if (days > 0)
        text += u"%1天"_s.arg(days);
    if (hours > 0)
        text += u"%1小时"_s.arg(hours);
    if (days == 0 && (rest > 0 || hours == 0))
        text += u"%1分钟"_s.arg(rest);
    return text;
}

// Nothing for today, "明天 ", else "2月22日 ".
QString dayOf(QDate today, QDate day)
{
    const qint64 days = today.daysTo(day);
    if (days == 0)
        return {};
    if (days == 1)
        return u"明天 "_s;
    return u"%1月%2日 "_s.arg(day.month()).arg(day.day());
}

QString hoursMinutes(QTime t)
{
    return u"%1:%2"_s.arg(t.hour()).arg(t.minute(), 2, 10, QChar(u'0'));
}

} // namespace

MarketPhase marketPhase(const QDateTime& now, const TradingCalendar& calendar)
{
    const QDateTime exchange = SessionSchedule::exchangeTime(now);
    if (!calendar.isTradingDay(exchange.date()))
        return MarketPhase::Closed;
    return phaseAt(exchange.time());
}

TrayView trayView(const QDateTime& now, const QString& status, MarketPhase phase, const KeyMoment& next)
{
    const QDateTime exchange = SessionSchedule::exchangeTime(now);
    // To the minute: the time left is counted from the minute shown above it.
    QDateTime minute = exchange;
    minute.setTime(QTime(exchange.time().hour(), exchange.time().minute()));
    QString tip = status + u"\n北京时间 "_s + hoursMinutes(minute.time());
    if (next.at.isValid()) {
        tip += u"\n下一时点：%1%2 %3（还有%4）"_s.arg(dayOf(minute.date(), next.at.date()),
                                                      hoursMinutes(next.at.time()), next.name,
                                                      timeLeft(minute.secsTo(next.at) / 60));
    }
    return {phase, tip};
}

TrayView trayView(const QDateTime& now, const QString& status, const TradingCalendar& calendar)
{
    return trayView(now, status, marketPhase(now, calendar), nextKeyMoment(now, calendar));
}
