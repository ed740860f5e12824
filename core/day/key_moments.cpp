// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/key_moments.h"

#include "core/time/exchange_clock.h"

using namespace Qt::StringLiterals;

namespace {

struct Moment {
    QTime at;
    const char16_t* name;
};

const Moment kMoments[] = {
    {QTime(9, 15), u"开盘集合竞价开始"},  {QTime(9, 20), u"集合竞价不能再撤单"},
    {QTime(9, 25), u"开盘集合竞价撮合"},  {QTime(9, 30), u"上午开盘"},
    {QTime(11, 30), u"上午收盘"},         {QTime(13, 0), u"下午开盘"},
    {QTime(14, 57), u"收盘集合竞价开始"}, {QTime(15, 0), u"收盘"},
};

} // namespace

KeyMoment nextKeyMoment(const QDateTime& now, const TradingCalendar& calendar)
{
    // The exchanges' day, wherever the computer is.
    const QDateTime beijing = ExchangeClock::beijing(now);
    // A year ahead covers any run of closed days.
    for (int days = 0; days <= 366; ++days) {
        const QDate day = beijing.date().addDays(days);
        if (IsWeekend(day) || calendar.IsHoliday(day))
            continue;
        for (const Moment& m : kMoments) {
            const QDateTime at(day, m.at, beijing.timeSpec(), beijing.offsetFromUtc());
            if (at > beijing)
                return {at, QString::fromUtf16(m.name)};
        }
    }
    return {};
}
