// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/core/limit_price.h"

#include "core/calendar/trading_calendar.h"
#include "core/day/session_schedule.h"
#include "tools/core/money.h"

using namespace Qt::StringLiterals;

namespace {

// Hundredths of a percent that limit is away from close, half away from zero.
qint64 percentE2(qint64 limitLi, qint64 closeLi)
{
    const qint64 diff = limitLi - closeLi;
    const qint64 magnitude = ((diff < 0 ? -diff : diff) * 20'000 / closeLi + 1) / 2;
    return diff < 0 ? -magnitude : magnitude;
}

QString percentText(qint64 e2)
{
    const qint64 a = e2 < 0 ? -e2 : e2;
    return u"%1%2.%3%"_s.arg(e2 < 0 ? u"−"_s : u"+"_s).arg(a / 100).arg(a % 100, 2, 10, QChar(u'0'));
}

QString limitText(const QString& what, qint64 limitLi, qint64 closeLi, qint64 e2, const QString& way)
{
    const QString price = u"%1：%2 元"_s.arg(what, Money::yuan(limitLi));
    // A close of a few fen: the limit, taken to the fen, leaves no room at all.
    if (limitLi == closeLi)
        return price + u"（与前收盘价相同，不能%1）"_s.arg(way);
    return price + u"（%1）"_s.arg(percentText(e2));
}

} // namespace

QString LimitPrices::upText() const
{
    return limitText(u"涨停价"_s, upLi, closeLi, upPercentE2, u"涨"_s);
}

QString LimitPrices::downText() const
{
    return limitText(u"跌停价"_s, downLi, closeLi, downPercentE2, u"跌"_s);
}

LimitPrices limitPrices(qint64 closeLi, Board board, QDate day)
{
    LimitPrices p;
    p.closeLi = closeLi;
    const qint64 pct = Boards::limitPercent(board, day);
    // In 1e-5 yuan: exact products, rounded once to the fen (1000 of them).
    const qint64 up = closeLi * (100 + pct);
    const qint64 down = closeLi * (100 - pct);
    if (board == Board::Beijing) {
        p.upLi = up / 1000 * 10;
        p.downLi = (down + 999) / 1000 * 10;
    } else {
        p.upLi = (up + 500) / 1000 * 10;
        p.downLi = (down + 500) / 1000 * 10;
    }
    p.downLi = qMax<qint64>(p.downLi, 10);
    p.upPercentE2 = percentE2(p.upLi, closeLi);
    p.downPercentE2 = percentE2(p.downLi, closeLi);
    return p;
}

QDate nextTradingDay(QDate day, int step, const TradingCalendar& calendar)
{
    for (int i = 0; i < 366; ++i) {
        day = day.addDays(step);
        if (calendar.isTradingDay(day))
            return day;
    }
    return {};
}

QDate limitDayAt(const QDateTime& now, const TradingCalendar& calendar)
{
    const QDateTime exchange = SessionSchedule::exchangeTime(now);
    const QDate today = exchange.date();
    if (calendar.isTradingDay(today) && exchange.time() < QTime(15, 0))
        return today;
    return nextTradingDay(today, 1, calendar);
}
