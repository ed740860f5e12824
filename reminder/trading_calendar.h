// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>

// Weekday closures of the exchanges, each written as DateKey writes it and enclosed in "/".
extern const QString HolidayList;

// "2010-2-5": four-digit year, month and day without leading zeros.
QString DateKey(QDate date);
// 1 Sunday, 2 Monday ... 7 Saturday.
int WeekdayNumber(QDate date);
bool IsWeekend(QDate date);

// The closed days the schedule asks about: HolidayList, plus the dates of a holidays file
// where one is shipped, plus, for the years after both, the weekdays the statutory holidays and
// the customary breaks close. Matching is always on whole entries.
class TradingCalendar {
public:
    bool IsHoliday(QDate date) const;

    // Adds the dates of a holidays file: one ISO date (2024-02-09) a line, "#" starts a
    // comment, blank lines are skipped. Returns the lines that are not dates, as "line N: text".
    QStringList addClosedDays(const QString& fileText);
    void addClosedDay(QDate date);

    // Reads a holidays file (UTF-8). Returns one line per problem: the file unreadable, or a
    // line that is not a date (skipped).
    QStringList loadClosedDaysFile(const QString& path);

    // The last year that the holidays file covers, or 0 without one.
    int lastCoveredYear() const { return m_lastYear; }

    // Adds the festival dates of statutory-holidays.txt (see parseFestivalDates). They close
    // days only in the years after HolidayList and the holidays files, whatever the order of
    // loading. Returns the lines skipped, as addClosedDays does.
    QStringList addFestivalDates(const QString& fileText);
    // Reads statutory-holidays.txt; problems as loadClosedDaysFile gives them.
    QStringList loadFestivalDatesFile(const QString& path);

    // A note for the user when today lies past the years the holidays file covers: the year's
    // closed days are worked out from the statutory holidays (or unknown, past the festival
    // dates), and the exchanges' extra days off are not known until announced.
    QString outdatedNotice(QDate today) const;

private:
    QStringList loadFile(const QString& path, QStringList (TradingCalendar::*add)(const QString&),
                         const QString& rejectedLine);
    QSet<QString> m_extra;
    int m_lastYear = 0;
    QSet<QDate> m_byRules; // every year's, whether or not a list covers it
    QSet<int> m_ruleYears;
};
