// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/statutory_holidays.h"

#include "core/calendar/dates.h"
#include "core/calendar/holidays_file.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// The State Council's rules on national holidays as amended for 2008, 2014 and 2025. Which
// weekend holidays were made up is read from the exchanges' closures: under the 2008 rules a
// Saturday one was made up on the Monday after or, once (2012's Dragon Boat), on the Friday
// before, so none is guessed there.
constexpr std::array kRules{
    HolidayRules{2008, true, 2, 1, false}, // eve, 1st and 2nd day; 1 May
    HolidayRules{2014, false, 3, 1, true}, // 1st to 3rd day; 1 May
    HolidayRules{2025, true, 3, 2, true},  // eve, 1st to 3rd day; 1 and 2 May
};

// The exchanges' Spring Festival week, in days from the first day of the lunar year: to the sixth
// day until 2023; from the eve through the seventh since 2024 (2024-02-16, 2025-02-04 and
// 2026-02-23 were closed).
struct SpringBreak {
    int firstYear;
    int firstDay;
    int lastDay;
};
constexpr std::array kSpringBreaks{
    SpringBreak{0, 0, 5},
    SpringBreak{2024, -1, 6},
};

QList<QDate> weekdaysOnly(QList<QDate> days)
{
    days.removeIf([](QDate d) { return !d.isValid() || IsWeekend(d); });
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

void addRun(QList<QDate>& days, QDate first, int count)
{
    for (int i = 0; i < count; ++i)
        days << first.addDays(i);
}

// Every day of the year's statutory holidays, weekends included, in date order; a day that two
// holidays share comes twice.
QList<QDate> statutoryHolidays(int year, const FestivalDates& dates)
{
    const HolidayRules& rules = holidayRulesFor(year);
    QList<QDate> days{QDate(year, 1, 1), dates.qingming, dates.dragonBoat, dates.midAutumn};
    if (rules.springFestivalEve)
        days << dates.springFestival.addDays(-1);
    addRun(days, dates.springFestival, rules.springFestivalDays);
    addRun(days, QDate(year, 5, 1), rules.mayDays);
    addRun(days, QDate(year, 10, 1), 3);
    days.removeIf([](QDate d) { return !d.isValid(); });
    std::sort(days.begin(), days.end());
    return days;
}

} // namespace

const HolidayRules& holidayRulesFor(int year)
{
    auto later = std::find_if(kRules.begin(), kRules.end(),
                              [year](const HolidayRules& r) { return r.firstYear > year; });
    return later == kRules.begin() ? kRules.front() : *std::prev(later);
}

QList<QDate> statutoryHolidayWeekdays(int year, const FestivalDates& dates)
{
    return weekdaysOnly(statutoryHolidays(year, dates));
}

QList<QDate> madeUpWeekdays(int year, const FestivalDates& dates)
{
    const bool saturdays = holidayRulesFor(year).saturdayMadeUp;
    const QList<QDate> holidays = statutoryHolidays(year, dates);
    const std::array breakStarts{dates.springFestival.addDays(-1), QDate(year, 10, 1)};
    QList<QDate> days;
    for (const QDate& holiday : holidays) {
        const int weekday = holiday.dayOfWeek();
        if (weekday < 6 || (weekday == 6 && !saturdays))
            continue;
        QDate day = holiday.addDays(1);
        while (IsWeekend(day) || holidays.contains(day) || days.contains(day))
            day = day.addDays(1);
        // 2015's Sunday Mid-Autumn Festival: the Monday after, three days before 1 October, traded.
        const bool folded = std::any_of(breakStarts.begin(), breakStarts.end(), [day](QDate start) {
            const qint64 gap = day.daysTo(start);
            return gap > 0 && gap <= 7;
        });
        if (!folded)
            days << day;
    }
    // The October week is made of the three holidays and swapped weekends: a Mid-Autumn Festival
    // on any of its days lengthens it by one (2009, 2017, 2020, 2025).
    if (dates.midAutumn >= QDate(year, 10, 1) && dates.midAutumn <= QDate(year, 10, 7))
        days << QDate(year, 10, 8);
    return weekdaysOnly(days);
}

QList<QDate> customaryBreakWeekdays(int year, const FestivalDates& dates)
{
    const auto custom = std::find_if(kSpringBreaks.rbegin(), kSpringBreaks.rend(),
                                     [year](const SpringBreak& b) { return b.firstYear <= year; });
    QList<QDate> days;
    addRun(days, dates.springFestival.addDays(custom->firstDay), custom->lastDay - custom->firstDay + 1);
    addRun(days, QDate(year, 10, 1), 7);
    return weekdaysOnly(days);
}

QStringList parseFestivalDates(const QString& text, QMap<int, FestivalDates>& years)
{
    QStringList rejected;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].section(u'#', 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        bool yearOk = false;
        const int year = fields.value(0).toInt(&yearOk);
        QList<QDate> dates;
        for (const QString& field : fields.mid(1)) {
            const QDate date = parseIsoDate(field);
            if (date.isValid())
                dates << date;
        }
        // A festival date in another year is a shifted column, not a holiday.
        const bool ok = yearOk && fields.size() == 5 && dates.size() == 4 &&
                        std::all_of(dates.begin(), dates.end(), [year](QDate d) { return d.year() == year; });
        if (!ok) {
            rejected << HolidaysFile::rejectedLine(i, line);
            continue;
        }
        years.insert(year, FestivalDates{dates[0], dates[1], dates[2], dates[3]});
    }
    return rejected;
}
