// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QStringList>

// The days of one year that China's statutory public holidays are stated in; the lunar ones and
// Qingming move from year to year, so they come from statutory-holidays.txt.
struct FestivalDates {
    QDate springFestival; // the first day of the lunar year
    QDate qingming;
    QDate dragonBoat; // 5th day of the 5th lunar month
    QDate midAutumn;  // 15th day of the 8th lunar month
};

// The holidays the law gives in the years from firstYear on, until the next rule set; New Year's
// Day, Qingming, Dragon Boat, Mid-Autumn and 1-3 October are one day each (three for October)
// under every set.
struct HolidayRules {
    int firstYear;
    bool springFestivalEve;
    int springFestivalDays; // from the first day of the lunar year
    int mayDays;            // from 1 May
    // Whether a Saturday holiday is made up on the next working day too (a Sunday one always is).
    bool saturdayMadeUp;
};

// The rules in force in a year (the earliest set for the years before it).
const HolidayRules& holidayRulesFor(int year);

// The weekdays of a year that are statutory holidays under its rules, in date order.
QList<QDate> statutoryHolidayWeekdays(int year, const FestivalDates& dates);

// The working days that make up for statutory holidays on a weekend: the next weekday that is
// no holiday itself, except where that falls in the week before the Spring Festival or October
// break (the holiday is then folded into the break); and 8 October when the Mid-Autumn Festival
// falls on one of the October week's days off. In date order, weekdays only.
QList<QDate> madeUpWeekdays(int year, const FestivalDates& dates);

// The weekdays of the week-long breaks the exchanges take besides: 1 to 7 October, and the first
// to the sixth day of the lunar year (from 2024 on, the eve through the seventh).
QList<QDate> customaryBreakWeekdays(int year, const FestivalDates& dates);

// Reads statutory-holidays.txt: "2027 2027-02-06 2027-04-05 2027-06-09 2027-09-15" (year, then
// Spring Festival, Qingming, Dragon Boat, Mid-Autumn), "#" starts a comment. Lines that do not
// read so are skipped and returned as "line N: text".
QStringList parseFestivalDates(const QString& text, QMap<int, FestivalDates>& years);
