// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/key_moments.h"

#include "core/day/session_schedule.h"
#include "core/reminders/reminder_days.h"
#include "core/time/exchange_clock.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kMorningAdvice =
    u"注意：当前是上午开盘时间，中午11:30收盘，上午的走势将在9:40和10:30基本形成，注意量能 ... ..."_s;
const QString kKeyPointAdvice =
    u"注意：盘中关键时间点，可预测走势，注意量能。如果是洗盘行情，10:30及14:00后有可能拉起来 ... ..."_s;
const QString kClosingSoonAdvice = u"注意：盘中关键时间点，五分钟后就收盘了，买卖要把握好时间 ... ..."_s;
const QString kMiddayAdvice = u"注意：现在是中午休盘时间，下午12:50分机构开始竞价，13:00-15:00是开盘时间。"_s;
const QString kAfternoonAdvice =
    u"注意：当前是下午开盘时间，下午15:00收盘，下午的走势14:00基本形成，注意量能 ... ..."_s;
const QString kAfternoonKeyPointAdvice =
    u"注意：盘中关键时间点，可预测走势，注意量能。如果是洗盘行情，上午一直弱势振荡，14:00后有可能拉起来 ... ..."_s;

const QString kBeforeOpen = u"还没开盘..."_s;
const QString kInSession = u"股市开盘中..."_s;
const QString kKeyPoint = u"盘中关键点.."_s;
const QString kClosingSoon = u"快收盘了!"_s;

QList<DayMoment> makeTable()
{
    using P = MarketPhase;
    const auto minute = [](int h, int m) { return QTime(h, m).addSecs(60); };
    // A prompt's window lasts a minute, but the morning auction's, which lasts to the open.
    return {
        {QTime(9, 15), u"开盘集合竞价开始"_s, P::Auction, {}, {}, {}, {}, {}},
        {QTime(9, 20),
         u"集合竞价不能再撤单"_s,
         {},
         {},
         u"机构竞价.wav"_s,
         ScheduleText::AuctionAdvice,
         QTime(9, 30),
         {},
         true},
        {QTime(9, 25), u"开盘集合竞价撮合"_s, {}, {}, {}, {}, {}, {}},
        {QTime(9, 30),
         u"上午开盘"_s,
         P::Trading,
         kInSession,
         u"上午开盘时间.wav"_s,
         kMorningAdvice,
         minute(9, 30),
         {}},
        {QTime(9, 40),
         u"盘中关键时间点"_s,
         {},
         {},
         u"盘中关键时间点1.wav"_s,
         kKeyPointAdvice,
         minute(9, 40),
         kKeyPoint},
        {QTime(10, 30),
         u"盘中关键时间点"_s,
         {},
         {},
         u"盘中关键时间点2.wav"_s,
         kKeyPointAdvice,
         minute(10, 30),
         kKeyPoint},
        {QTime(11, 25),
         u"五分钟后收盘"_s,
         {},
         {},
         u"5分钟后收盘.wav"_s,
         kClosingSoonAdvice,
         minute(11, 25),
         kClosingSoon},
        {QTime(11, 30),
         u"上午收盘"_s,
         P::Midday,
         u"中午休盘中..."_s,
         u"中午休盘时间.WAV"_s,
         kMiddayAdvice,
         minute(11, 30),
         {}},
        {QTime(12, 50),
         u"机构竞价"_s,
         P::Auction,
         {},
         u"机构竞价.wav"_s,
         ScheduleText::AuctionAdvice,
         minute(12, 50),
         {},
         true},
        {QTime(13, 0),
         u"下午开盘"_s,
         P::Trading,
         kInSession,
         u"下午开盘时间.wav"_s,
         kAfternoonAdvice,
         minute(13, 0),
         {}},
        {QTime(13, 10),
         u"盘中关键时间点"_s,
         {},
         {},
         u"盘中关键时间点1.wav"_s,
         kAfternoonKeyPointAdvice,
         minute(13, 10),
         kKeyPoint},
        {QTime(14, 0),
         u"盘中关键时间点"_s,
         {},
         {},
         u"盘中关键时间点2.wav"_s,
         kAfternoonKeyPointAdvice,
         minute(14, 0),
         kKeyPoint},
        {QTime(14, 55),
         u"五分钟后收盘"_s,
         {},
         {},
         u"5分钟后收盘.wav"_s,
         kClosingSoonAdvice,
         minute(14, 55),
         kClosingSoon},
        {QTime(14, 57), u"收盘集合竞价开始"_s, P::Auction, {}, {}, {}, {}, {}},
        {QTime(15, 0),
         u"收盘"_s,
         P::Closed,
         u"今天已收盘..."_s,
         u"今天已收盘.wav"_s,
         ScheduleText::Welcome,
         minute(15, 0),
         {}},
    };
}

} // namespace

const QList<DayMoment>& dayMoments()
{
    static const QList<DayMoment> table = makeTable();
    return table;
}

const DayMoment* momentWindow(QTime t)
{
    for (const DayMoment& m : dayMoments()) {
        if (!m.prompt.isEmpty() && t >= m.at && t < m.windowEnd)
            return &m;
    }
    return nullptr;
}

QString sectionStatus(QTime t)
{
    QString status = kBeforeOpen;
    for (const DayMoment& m : dayMoments()) {
        if (m.at > t)
            break;
        if (!m.status.isEmpty())
            status = m.status;
    }
    return status;
}

MarketPhase phaseAt(QTime t)
{
    MarketPhase phase = MarketPhase::Closed;
    for (const DayMoment& m : dayMoments()) {
        if (m.at > t)
            break;
        if (m.phase)
            phase = *m.phase;
    }
    return phase;
}

QList<DayMoment> momentsOn(QDate date, const TradingDays& days, const QList<Reminder>& own)
{
    QList<DayMoment> moments;
    if (days.trades(date))
        moments = dayMoments();
    for (const Reminder& r : own) {
        if (!r.on || !appliesOn(r.day, date, days))
            continue;
        DayMoment m;
        m.at = r.time;
        m.name = r.text;
        m.own = true;
        moments << m;
    }
    // The table's own first where a reminder shares its second.
    std::stable_sort(moments.begin(), moments.end(),
                     [](const DayMoment& a, const DayMoment& b) { return a.at < b.at; });
    return moments;
}

KeyMoment nextKeyMoment(const QDateTime& now, const TradingCalendar& calendar, const QList<Reminder>& own)
{
    // The exchanges' day, wherever the computer is; a year ahead covers any run of closed days.
    const QDateTime beijing = ExchangeClock::beijing(now);
    const TradingDays days(calendar);
    for (int ahead = 0; ahead <= 366; ++ahead) {
        const QDate day = beijing.date().addDays(ahead);
        for (const DayMoment& m : momentsOn(day, days, own)) {
            const QDateTime at(day, m.at, Qt::OffsetFromUTC, beijing.offsetFromUtc());
            if (at > beijing)
                return {at, m.name, m.own};
        }
    }
    return {};
}

KeyMoment nextTradingDayStart(QDate date, const TradingCalendar& calendar)
{
    // A year ahead covers any run of closed days.
    for (int days = 1; days <= 366; ++days) {
        const QDate day = date.addDays(days);
        if (calendar.isTradingDay(day)) {
            const DayMoment& first = dayMoments().constFirst();
            return {QDateTime(day, first.at, Qt::OffsetFromUTC, 8 * 3600), first.name};
        }
    }
    return {};
}
