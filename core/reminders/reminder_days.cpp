// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/reminders/reminder_days.h"

#include "core/time/exchange_clock.h"

using namespace Qt::StringLiterals;

bool TradingDays::trades(QDate date) const
{
    if (!date.isValid())
        return false;
    const qint64 day = date.toJulianDay();
    if (m_known.empty()) {
        m_first = day;
        m_known.assign(1, -1);
    } else if (day < m_first) {
        // Grows by a month at least, so that walking backwards does not move the days each time.
        const qint64 more = qMax<qint64>(m_first - day, 31);
        m_known.insert(m_known.begin(), size_t(more), -1);
        m_first -= more;
    } else if (day - m_first >= qint64(m_known.size())) {
        m_known.resize(size_t(qMax<qint64>(day - m_first + 1, qint64(m_known.size()) + 31)), -1);
    }
    signed char& known = m_known[size_t(day - m_first)];
    if (known < 0)
        known = m_calendar.isTradingDay(date) ? 1 : 0;
    return known == 1;
}

namespace {

bool closedAround(QDate date, int step, const TradingDays& days)
{
    for (int i = 1; i <= kClosureDays; ++i) {
        if (days.trades(date.addDays(step * i)))
            return false;
    }
    return true;
}

} // namespace

bool appliesOn(const ReminderDay& day, QDate date, const TradingDays& days)
{
    using Rule = ReminderDay::Rule;
    if (day.rule == Rule::Date)
        return date == day.date;
    if (!days.trades(date))
        return false;
    switch (day.rule) {
    case Rule::EveryTradingDay: return true;
    case Rule::LastBeforeClosure: return closedAround(date, 1, days);
    case Rule::FirstAfterClosure: return closedAround(date, -1, days);
    case Rule::FirstOfMonth:
        for (QDate d = date.addDays(-1); d.month() == date.month(); d = d.addDays(-1)) {
            if (days.trades(d))
                return false;
        }
        return true;
    case Rule::LastOfMonth:
        for (QDate d = date.addDays(1); d.month() == date.month(); d = d.addDays(1)) {
            if (days.trades(d))
                return false;
        }
        return true;
    case Rule::Weekday: return date.dayOfWeek() == day.weekday;
    case Rule::Date: break;
    }
    return false;
}

bool appliesOn(const Reminder& reminder, QDate date, const TradingCalendar& calendar)
{
    return appliesOn(reminder.day, date, TradingDays(calendar));
}

QList<QDateTime> nextOccurrences(const Reminder& reminder, const QDateTime& after, const TradingDays& days,
                                 int count)
{
    QList<QDateTime> found;
    if (!reminder.time.isValid() || !after.isValid() || count <= 0)
        return found;
    const QDateTime now = ExchangeClock::beijing(after);
    const auto at = [&](QDate date) {
        return QDateTime(date, reminder.time, Qt::OffsetFromUTC, now.offsetFromUtc());
    };
    if (reminder.day.rule == ReminderDay::Rule::Date) {
        if (at(reminder.day.date) > now)
            found << at(reminder.day.date);
        return found;
    }
    const QDate today = now.date();
    for (QDate date = today; today.daysTo(date) <= kLookAheadDays && found.size() < count;
         date = date.addDays(1)) {
        if (appliesOn(reminder.day, date, days) && at(date) > now)
            found << at(date);
    }
    return found;
}

QList<QDateTime> nextOccurrences(const Reminder& reminder, const QDateTime& after,
                                 const TradingCalendar& calendar, int count)
{
    return nextOccurrences(reminder, after, TradingDays(calendar), count);
}

QString occurrenceText(const QDateTime& at, QDate today)
{
    static const QStringView weekdays[] = {u"周一", u"周二", u"周三", u"周四", u"周五", u"周六", u"周日"};
    const QDate date = at.date();
    const QString year =
        today.isValid() && today.year() != date.year() ? u"%1年"_s.arg(date.year()) : QString();
    return u"%1%2月%3日（%4）%5"_s.arg(year)
        .arg(date.month())
        .arg(date.day())
        .arg(weekdays[date.dayOfWeek() - 1])
        .arg(reminderTimeText(at.time()));
}
