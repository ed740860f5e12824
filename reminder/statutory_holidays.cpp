// SPDX-License-Identifier: GPL-3.0-or-later
#include "reminder/statutory_holidays.h"

#include "reminder/trading_calendar.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// The State Council's rules on national holidays as amended for 2008, 2014 and 2025.
constexpr std::array kRules{
    HolidayRules{2008, true, 2, 1},  // eve, 1st and 2nd day; 1 May
    HolidayRules{2014, false, 3, 1}, // 1st to 3rd day; 1 May
    HolidayRules{2025, true, 3, 2},  // eve, 1st to 3rd day; 1 and 2 May
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

} // namespace

const HolidayRules& holidayRulesFor(int year)
{
    auto later = std::find_if(kRules.begin(), kRules.end(),
                              [year](const HolidayRules& r) { return r.firstYear > year; });
    return later == kRules.begin() ? kRules.front() : *std::prev(later);
}

QList<QDate> statutoryHolidayWeekdays(int year, const FestivalDates& dates)
{
    const HolidayRules& rules = holidayRulesFor(year);
    QList<QDate> days{QDate(year, 1, 1), dates.qingming, dates.dragonBoat, dates.midAutumn};
    if (rules.springFestivalEve)
        days << dates.springFestival.addDays(-1);
    addRun(days, dates.springFestival, rules.springFestivalDays);
    addRun(days, QDate(year, 5, 1), rules.mayDays);
    addRun(days, QDate(year, 10, 1), 3);
    return weekdaysOnly(days);
}

QList<QDate> customaryBreakWeekdays(int year, const FestivalDates& dates)
{
    QList<QDate> days;
    addRun(days, dates.springFestival, 6);
    addRun(days, QDate(year, 10, 1), 7);
    return weekdaysOnly(days);
}

QStringList parseFestivalDates(const QString& text, QMap<int, FestivalDates>& years)
{
    static const QRegularExpression isoDate(u"^(\\d{4})-(\\d{2})-(\\d{2})$"_s);
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
            const auto m = isoDate.match(field);
            if (m.hasMatch())
                dates << QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        }
        // A festival date in another year is a shifted column, not a holiday.
        const bool ok = yearOk && fields.size() == 5 && dates.size() == 4 &&
                        std::all_of(dates.begin(), dates.end(), [year](QDate d) { return d.year() == year; });
        if (!ok) {
            rejected << u"line %1: %2"_s.arg(i + 1).arg(line.left(80));
            continue;
        }
        years.insert(year, FestivalDates{dates[0], dates[1], dates[2], dates[3]});
    }
    return rejected;
}
