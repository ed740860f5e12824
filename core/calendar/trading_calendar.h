// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calendar/dates.h"
#include "core/calendar/holidays_file.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// Weekday closures of the exchanges, each written as DateKey writes it and enclosed in "/".
extern const QString HolidayList;

// Why a day is closed, or that it trades.
enum class DayReason {
    TradingDay,
    Weekend,
    Announced, // holidays.txt, the built-in list or a pasted notice of the exchanges
    Statutory, // a statutory holiday on a weekday
    MadeUp,    // the working day that makes up for a statutory holiday on a weekend
    Customary, // the rest of the Spring Festival and October weeks
    Own,       // closed by the trader himself, beside the list or the rules ("closed" in his file)
};
// "周末", "交易所公布", "法定节假日", "法定补假", "惯例休市", "自行设定"; empty for a trading day.
QString dayReasonText(DayReason reason);

// Where a year's closed days come from.
enum class YearSource {
    Announced, // a holidays file or the built-in list: the exchanges' own days
    WorkedOut, // the statutory holidays, their make-up days and the customary weeks
    Unknown,   // neither: only weekends close
};

// The closed days the schedule asks about: HolidayList, plus the days of the program folder's
// holidays file, plus the trader's own holidays file read after it, plus, for the years that none
// of these covers, the weekdays the statutory holidays, their make-up days and the customary
// breaks close. Matching is always on whole entries.
class TradingCalendar {
public:
    bool IsHoliday(QDate date) const;

    DayReason reason(QDate date) const;
    bool isTradingDay(QDate date) const { return reason(date) == DayReason::TradingDay; }
    YearSource yearSource(int year) const;

    // Adds the lines of the program folder's holidays file (see HolidaysFile); a later line about
    // a day wins over an earlier one, in this text or one added before. Returns the lines that say
    // nothing, as "line N: text".
    QStringList addClosedDays(const QString& fileText);
    void addClosedDay(QDate date);
    // Reads a holidays file. Returns one line per problem: the file unreadable, cut short or not
    // UTF-8 (read as GBK), or a line that says nothing (skipped).
    QStringList loadClosedDaysFile(const QString& path, const CodePage& codePage);

    // The trader's own holidays file, which a save writes back: its days win over the program
    // folder's. A line that says what the program folder's file says about its day is dropped
    // (an earlier version saved every day there), so that a newer package's file still reaches
    // the days he did not set himself.
    QStringList addOwnDays(const QString& fileText);
    QStringList loadOwnDaysFile(const QString& path, const CodePage& codePage);
    const DayMarks& ownMarks() const { return m_own; }

    // The last year whose closed days a holidays file lists, or 0 without one.
    int lastCoveredYear() const { return m_lastYear; }

    // The trader's changes go to his own days, as few as give the days he sees, so that the
    // program folder's file still speaks for the rest. Made on a copy that is assigned back once
    // saved, they reach the running day without a restart and are lost with nothing else when
    // the save fails.
    // A weekday closed or opened by the trader (a day he closes is his own, DayReason::Own);
    // weekends stay closed. Opening the last announced day of a year leaves the year to the rules
    // again. A day set back to what it was in saved (or in the program folder's file) takes the
    // mark it had there: an edit undone is no change.
    void markDay(QDate date, bool closed, const TradingCalendar* saved = nullptr);
    // A year's closed weekdays as announced: they replace whatever the year had.
    void announceYear(int year, const QList<QDate>& closedDays);
    // The closed weekdays of a pasted announcement. One that speaks of every holiday the year
    // now has is the year's (announceYear); one about some of them (a notice for one festival)
    // sets just those breaks, the weekdays around them it does not name opening, and leaves the
    // year's other days as they were. The days it names are the exchanges' (DayReason::Announced),
    // not the trader's own. Returns true when it was taken as the whole year's.
    bool applyAnnouncement(int year, const QList<QDate>& closedDays);

    // Adds the festival dates of statutory-holidays.txt (see parseFestivalDates). They close
    // days only in the years that neither HolidayList nor a holidays file covers, whatever the
    // order of loading. Returns the lines skipped, as addClosedDays does.
    QStringList addFestivalDates(const QString& fileText);
    // Reads statutory-holidays.txt; problems as loadClosedDaysFile gives them.
    QStringList loadFestivalDatesFile(const QString& path, const CodePage& codePage);

    // A note for the user when today lies past the years the holidays file covers: the year's
    // closed days are worked out from the statutory holidays (or unknown, past the festival
    // dates), and the exchanges' extra days off are not known until announced.
    QString outdatedNotice(QDate today) const;
    // A note for the user when a holidays file could not be read, or only in part: the file,
    // how many lines were skipped and the first of them, and where to check the days. Empty
    // when every holidays file was read whole.
    QString unreadNotice() const;

private:
    struct UnreadFile {
        QString path;
        qsizetype skipped; // 0: the file could not be read at all
        qsizetype firstLine;
    };

    HolidaysFile::Parsed addHolidays(const QString& fileText, DayMarks TradingCalendar::*into);
    QStringList loadHolidaysFile(const QString& path, const CodePage& codePage,
                                 DayMarks TradingCalendar::*into);
    QStringList loadFile(const QString& path, const CodePage& codePage,
                         QStringList (TradingCalendar::*add)(const QString&), const QString& rejectedLine);
    bool listedAsClosed(QDate date) const;
    void setDay(QDate date, bool closed, DayMark closing, const TradingCalendar* saved = nullptr);
    void marksChanged();

    DayMarks m_listed;          // the program folder's file
    DayMarks m_own;             // the trader's file and changes, without what m_listed says
    DayMarks m_marks;           // both, his winning
    QSet<int> m_announcedYears; // the years with a Closed mark
    int m_lastYear = 0;
    QHash<QDate, DayReason> m_byRules; // every year's, whether or not a list covers it
    QSet<int> m_ruleYears;
    QList<UnreadFile> m_unread; // the holidays files not read whole
};
