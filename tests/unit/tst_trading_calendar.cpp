// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/trading_calendar.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The exchanges' weekday closures, 2009-10-1 to 2010-10-1, as the calendar must know them.
const QList<QDate> kListedDays = {
    QDate(2009, 10, 1), QDate(2009, 10, 2), QDate(2009, 10, 5), QDate(2009, 10, 6), QDate(2009, 10, 7),
    QDate(2009, 10, 8), QDate(2010, 1, 1),  QDate(2010, 2, 15), QDate(2010, 2, 16), QDate(2010, 2, 17),
    QDate(2010, 2, 18), QDate(2010, 2, 19), QDate(2010, 4, 5),  QDate(2010, 5, 3),  QDate(2010, 6, 16),
    QDate(2010, 6, 17), QDate(2010, 6, 18), QDate(2010, 9, 22), QDate(2010, 9, 23), QDate(2010, 9, 24),
    QDate(2010, 10, 1),
};

// 2026 announced by a holidays file (two days of it here); 2027 worked out from its festival
// dates, with one day closed and one opened besides.
TradingCalendar calendarFor2027()
{
    TradingCalendar calendar;
    calendar.addFestivalDates(u"2026 2026-02-17 2026-04-05 2026-06-19 2026-09-25\n"
                              "2027 2027-02-06 2027-04-05 2027-06-09 2027-09-15\n"_s);
    calendar.addClosedDays(u"2026-10-01\n2026-10-07\n2027-02-12 closed\n2027-04-05 open\n"_s);
    return calendar;
}

} // namespace

class TestTradingCalendar : public QObject {
    Q_OBJECT

private slots:
    void holidayListIsTheFixedText()
    {
        const QString expected =
            u"/2009-10-1/2009-10-2/2009-10-5/2009-10-6/2009-10-7/2009-10-8/2010-1-1/2010-2-15/2010-2-16/"
            u"2010-2-17/2010-2-18/2010-2-19/2010-4-5/2010-5-3/2010-6-16/2010-6-17/2010-6-18/2010-9-22/"
            u"2010-9-23/2010-9-24/2010-10-1/"_s;
        QCOMPARE(HolidayList, expected);
        QCOMPARE(HolidayList.size(), 208);
    }

    void dateKey_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("key");
        QTest::newRow("one-digit month and day") << QDate(2010, 2, 5) << u"2010-2-5"_s;
        QTest::newRow("two-digit month") << QDate(2009, 10, 1) << u"2009-10-1"_s;
        QTest::newRow("two-digit day") << QDate(2010, 9, 22) << u"2010-9-22"_s;
        QTest::newRow("both two digits") << QDate(2010, 12, 31) << u"2010-12-31"_s;
        QTest::newRow("no leading zeros") << QDate(2010, 4, 5) << u"2010-4-5"_s;
        QTest::newRow("day 10 keeps its zero") << QDate(2010, 1, 10) << u"2010-1-10"_s;
        QTest::newRow("four-digit year") << QDate(999, 3, 4) << u"0999-3-4"_s;
        QTest::newRow("year 5") << QDate(5, 1, 2) << u"0005-1-2"_s;
        QTest::newRow("sign before the four digits") << QDate(-943, 10, 12) << u"-0943-10-12"_s;
        QTest::newRow("five-digit year") << QDate(12345, 6, 7) << u"12345-6-7"_s;
    }
    void dateKey()
    {
        QFETCH(QDate, date);
        QFETCH(QString, key);
        QCOMPARE(DateKey(date), key);
    }

    void weekdayNumber_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("weekend");
        QTest::newRow("Sunday 2009-10-4") << QDate(2009, 10, 4) << 1 << true;
        QTest::newRow("Monday 2009-10-5") << QDate(2009, 10, 5) << 2 << false;
        QTest::newRow("Tuesday 2009-9-29") << QDate(2009, 9, 29) << 3 << false;
        QTest::newRow("Wednesday 2009-9-30") << QDate(2009, 9, 30) << 4 << false;
        QTest::newRow("Thursday 2009-10-1") << QDate(2009, 10, 1) << 5 << false;
        QTest::newRow("Friday 2009-10-9") << QDate(2009, 10, 9) << 6 << false;
        QTest::newRow("Saturday 2009-10-3") << QDate(2009, 10, 3) << 7 << true;
        QTest::newRow("Saturday 2010-2-13") << QDate(2010, 2, 13) << 7 << true;
        QTest::newRow("Sunday 2010-2-14") << QDate(2010, 2, 14) << 1 << true;
        QTest::newRow("Friday 2010-2-12") << QDate(2010, 2, 12) << 6 << false;
    }
    void weekdayNumber()
    {
        QFETCH(QDate, date);
        QFETCH(int, number);
        QFETCH(bool, weekend);
        QCOMPARE(WeekdayNumber(date), number);
        QCOMPARE(IsWeekend(date), weekend);
    }

    void isHoliday_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("holiday");
        QTest::newRow("2009-10-1 National Day") << QDate(2009, 10, 1) << true;
        QTest::newRow("2009-10-8 last of the week") << QDate(2009, 10, 8) << true;
        QTest::newRow("2009-10-9 trading again") << QDate(2009, 10, 9) << false;
        QTest::newRow("2009-10-3 weekend, not listed") << QDate(2009, 10, 3) << false;
        QTest::newRow("2009-9-30 day before") << QDate(2009, 9, 30) << false;
        QTest::newRow("2010-1-1") << QDate(2010, 1, 1) << true;
        QTest::newRow("2010-1-10 not inside 2010-1-1") << QDate(2010, 1, 10) << false;
        QTest::newRow("2010-2-12 Friday") << QDate(2010, 2, 12) << false;
        QTest::newRow("2010-2-15") << QDate(2010, 2, 15) << true;
        QTest::newRow("2010-2-16") << QDate(2010, 2, 16) << true;
        QTest::newRow("2010-2-17") << QDate(2010, 2, 17) << true;
        QTest::newRow("2010-2-18") << QDate(2010, 2, 18) << true;
        QTest::newRow("2010-2-19") << QDate(2010, 2, 19) << true;
        QTest::newRow("2010-2-22 Monday after") << QDate(2010, 2, 22) << false;
        QTest::newRow("2010-2-1 not inside 2010-2-15") << QDate(2010, 2, 1) << false;
        QTest::newRow("2010-9-2 not inside 2010-9-22") << QDate(2010, 9, 2) << false;
        QTest::newRow("2010-4-5 one-digit month and day") << QDate(2010, 4, 5) << true;
        QTest::newRow("2010-9-22 two-digit day") << QDate(2010, 9, 22) << true;
        QTest::newRow("2010-10-1 last listed") << QDate(2010, 10, 1) << true;
        QTest::newRow("2010-10-2 after the list") << QDate(2010, 10, 2) << false;
        QTest::newRow("2011-10-1 a year later") << QDate(2011, 10, 1) << false;
        QTest::newRow("2009-1-1 before the list") << QDate(2009, 1, 1) << false;
        QTest::newRow("invalid date") << QDate() << false;
    }
    void isHoliday()
    {
        QFETCH(QDate, date);
        QFETCH(bool, holiday);
        const TradingCalendar calendar;
        QCOMPARE(calendar.IsHoliday(date), holiday);
    }

    // Exactly the 21 listed days are holidays, every one of them a weekday, and nothing
    // after 2010-10-1 is ever a holiday.
    void exactlyTheListedDaysAreHolidays()
    {
        const TradingCalendar calendar;
        QList<QDate> found;
        for (QDate d(2008, 1, 1); d <= QDate(2012, 12, 31); d = d.addDays(1)) {
            if (calendar.IsHoliday(d))
                found << d;
        }
        QCOMPARE(found, kListedDays);
        for (const QDate& d : kListedDays)
            QVERIFY2(!IsWeekend(d), qPrintable(d.toString(Qt::ISODate)));
    }

    void zeroPaddedKeyMatchesNothing()
    {
        // Only the key without leading zeros finds the entry.
        QVERIFY(HolidayList.contains(u"/"_s + DateKey(QDate(2010, 4, 5)) + u"/"_s));
        QVERIFY(!HolidayList.contains(u"/2010-04-05/"_s));
        QVERIFY(DateKey(QDate(2010, 4, 5)) != u"2010-04-05"_s);
    }

    void tomorrow_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("tomorrow");
        QTest::addColumn<bool>("holiday");
        QTest::addColumn<bool>("saturday");
        QTest::newRow("2009-9-30 before National Day")
            << QDate(2009, 9, 30) << QDate(2009, 10, 1) << true << false;
        QTest::newRow("2010-2-12 Friday") << QDate(2010, 2, 12) << QDate(2010, 2, 13) << false << true;
        QTest::newRow("2009-12-31 into the new year")
            << QDate(2009, 12, 31) << QDate(2010, 1, 1) << true << false;
        QTest::newRow("2010-2-10 ordinary Wednesday")
            << QDate(2010, 2, 10) << QDate(2010, 2, 11) << false << false;
        QTest::newRow("2010-9-30 before the last entry")
            << QDate(2010, 9, 30) << QDate(2010, 10, 1) << true << false;
        QTest::newRow("2010-2-28 month end") << QDate(2010, 2, 28) << QDate(2010, 3, 1) << false << false;
    }
    void tomorrow()
    {
        QFETCH(QDate, today);
        QFETCH(QDate, tomorrow);
        QFETCH(bool, holiday);
        QFETCH(bool, saturday);
        const TradingCalendar calendar;
        const QDate next = today.addDays(1);
        QCOMPARE(next, tomorrow);
        QCOMPARE(calendar.IsHoliday(next), holiday);
        QCOMPARE(WeekdayNumber(next) == 7, saturday);
    }

    void closedDaysFile()
    {
        TradingCalendar calendar;
        QCOMPARE(calendar.lastCoveredYear(), 0);
        const QString text = u"# Closures, one ISO date a line\r\n"
                             u"2024-02-09\r\n"
                             u"\r\n"
                             u"   2024-10-01   \r\n"
                             u"2024-02-15  # a comment after the date\n"
                             u"#2024-05-01 commented out\n"
                             u"2024-2-9\n"
                             u"2024-02-30\n"
                             u"holiday\n"
                             u"\t\n"
                             u"2025-01-01"_s;
        const QStringList rejected = calendar.addClosedDays(text);
        QCOMPARE(rejected,
                 QStringList({u"line 7: 2024-2-9"_s, u"line 8: 2024-02-30"_s, u"line 9: holiday"_s}));

        QVERIFY(calendar.IsHoliday(QDate(2024, 2, 9)));
        QVERIFY(calendar.IsHoliday(QDate(2024, 10, 1)));
        QVERIFY(calendar.IsHoliday(QDate(2024, 2, 15)));
        QVERIFY(calendar.IsHoliday(QDate(2025, 1, 1)));
        QVERIFY(!calendar.IsHoliday(QDate(2024, 5, 1)));
        // Whole entries only, as for the fixed list.
        QVERIFY(!calendar.IsHoliday(QDate(2024, 2, 1)));
        QVERIFY(!calendar.IsHoliday(QDate(2024, 1, 1)));
        // The fixed list still counts.
        QVERIFY(calendar.IsHoliday(QDate(2010, 2, 15)));
        QCOMPARE(calendar.lastCoveredYear(), 2025);
    }

    void closedDaysFileWithoutDates()
    {
        TradingCalendar calendar;
        QVERIFY(calendar.addClosedDays(u"# nothing yet\n\n"_s).isEmpty());
        QVERIFY(calendar.addClosedDays(QString()).isEmpty());
        QCOMPARE(calendar.lastCoveredYear(), 0);
        const QStringList rejected = calendar.addClosedDays(u"20240209\n"_s);
        QCOMPARE(rejected, QStringList({u"line 1: 20240209"_s}));
        QCOMPARE(calendar.lastCoveredYear(), 0);
        QVERIFY(!calendar.IsHoliday(QDate(2024, 2, 9)));
    }

    void reasons_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("reason");
        QTest::newRow("weekend") << QDate(2027, 5, 1) << u"周末"_s;
        QTest::newRow("built-in list") << QDate(2010, 2, 15) << u"交易所公布"_s;
        QTest::newRow("the file's day") << QDate(2026, 10, 1) << u"交易所公布"_s;
        QTest::newRow("announced year, not listed") << QDate(2026, 10, 2) << QString();
        QTest::newRow("statutory holiday") << QDate(2027, 1, 1) << u"法定节假日"_s;
        QTest::newRow("made up for the weekend Spring Festival") << QDate(2027, 2, 9) << u"法定补假"_s;
        QTest::newRow("rest of the Spring Festival week") << QDate(2027, 2, 11) << u"惯例休市"_s;
        QTest::newRow("closed beside the rules") << QDate(2027, 2, 12) << u"交易所公布"_s;
        QTest::newRow("opened against the rules") << QDate(2027, 4, 5) << QString();
        QTest::newRow("a year without festival dates") << QDate(2028, 1, 3) << QString();
    }

    void reasons()
    {
        QFETCH(QDate, date);
        QFETCH(QString, reason);
        const TradingCalendar calendar = calendarFor2027();
        QCOMPARE(dayReasonText(calendar.reason(date)), reason);
        QCOMPARE(calendar.isTradingDay(date), reason.isEmpty());
        QCOMPARE(calendar.IsHoliday(date), !reason.isEmpty() && !IsWeekend(date));
    }

    // A click changes the one day and nothing else, and the marks, written as a holidays file and
    // read after the one that was there, give the same days again.
    void markDay_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("close a day of an announced year") << QDate(2026, 10, 2) << true << u"自行设定"_s;
        QTest::newRow("close a day of a worked-out year") << QDate(2027, 3, 3) << true << u"自行设定"_s;
        QTest::newRow("open a statutory holiday") << QDate(2027, 1, 1) << false << QString();
        QTest::newRow("open a day of the file") << QDate(2026, 10, 1) << false << QString();
        QTest::newRow("a weekend stays closed") << QDate(2027, 5, 1) << false << u"周末"_s;
    }

    void markDay()
    {
        QFETCH(QDate, date);
        QFETCH(bool, closed);
        TradingCalendar calendar = calendarFor2027();
        const TradingCalendar before = calendar;
        calendar.markDay(date, closed);
        QTEST(dayReasonText(calendar.reason(date)), "reason");
        QCOMPARE(calendar.yearSource(date.year()), before.yearSource(date.year()));
        for (QDate d(2026, 1, 1); d <= QDate(2027, 12, 31); d = d.addDays(1)) {
            if (d != date)
                QCOMPARE(calendar.reason(d), before.reason(d));
        }
        TradingCalendar restarted = calendarFor2027();
        restarted.addOwnDays(HolidaysFile::serialize(calendar.ownMarks(), {}));
        QCOMPARE(restarted.reason(date), calendar.reason(date));
    }

    // A day set and set back leaves the trader's days as they were.
    void anEditUndoneIsNoChange_data()
    {
        QTest::addColumn<QString>("own");
        QTest::addColumn<QDate>("date");
        QTest::newRow("a trading day closed and opened") << QString() << QDate(2027, 3, 3);
        QTest::newRow("a statutory holiday opened and closed") << QString() << QDate(2027, 1, 1);
        QTest::newRow("a day of a pasted year opened and closed")
            << u"2027-10-01\n2027-10-08\n"_s << QDate(2027, 10, 8);
    }

    void anEditUndoneIsNoChange()
    {
        QFETCH(QString, own);
        QFETCH(QDate, date);
        TradingCalendar calendar = calendarFor2027();
        QVERIFY(calendar.addOwnDays(own).isEmpty());
        const TradingCalendar saved = calendar;
        const bool closed = calendar.IsHoliday(date);
        calendar.markDay(date, !closed, &saved);
        QCOMPARE(calendar.IsHoliday(date), !closed);
        calendar.markDay(date, closed, &saved);
        QCOMPARE(calendar.ownMarks(), saved.ownMarks());
    }

    void announcedYearReplacesTheWorkedOutOne()
    {
        TradingCalendar calendar = calendarFor2027();
        QCOMPARE(calendar.yearSource(2009), YearSource::Announced); // the built-in list
        QCOMPARE(calendar.yearSource(2027), YearSource::WorkedOut); // exceptions do not announce it
        QCOMPARE(calendar.yearSource(2028), YearSource::Unknown);   // no festival dates
        QCOMPARE(calendar.lastCoveredYear(), 2026);
        calendar.announceYear(2027,
                              {QDate(2027, 1, 1), QDate(2027, 2, 5), QDate(2027, 2, 8), QDate(2027, 5, 3)});
        QCOMPARE(calendar.yearSource(2027), YearSource::Announced);
        QCOMPARE(calendar.lastCoveredYear(), 2027);
        TradingCalendar restarted = calendarFor2027();
        restarted.addOwnDays(HolidaysFile::serialize(calendar.ownMarks(), {}));
        QList<QDate> closed;
        for (QDate d(2027, 1, 1); d <= QDate(2027, 12, 31); d = d.addDays(1)) {
            QCOMPARE(restarted.reason(d), calendar.reason(d));
            if (calendar.IsHoliday(d))
                closed << d;
        }
        // The rules' days and the earlier exception are gone.
        QCOMPARE(closed,
                 QList<QDate>({QDate(2027, 1, 1), QDate(2027, 2, 5), QDate(2027, 2, 8), QDate(2027, 5, 3)}));
    }

    // A notice for one festival sets that break alone; a notice that names every break is the
    // year's own.
    void pastedAnnouncements_data()
    {
        QTest::addColumn<QList<QDate>>("announced");
        QTest::addColumn<bool>("wholeYear");
        QTest::addColumn<QList<QDate>>("closedAfter");
        QTest::addColumn<QList<QDate>>("openAfter");
        const QList<QDate> october = {QDate(2027, 10, 1), QDate(2027, 10, 4), QDate(2027, 10, 5),
                                      QDate(2027, 10, 6), QDate(2027, 10, 7), QDate(2027, 10, 8)};
        QTest::newRow("National Day notice, a day longer")
            << october << false << QList<QDate>{QDate(2027, 10, 8), QDate(2027, 2, 5), QDate(2027, 5, 3)}
            << QList<QDate>{QDate(2027, 10, 11)};
        QTest::newRow("Spring Festival notice, a day shorter")
            << QList<QDate>{QDate(2027, 2, 5), QDate(2027, 2, 8), QDate(2027, 2, 9), QDate(2027, 2, 10)}
            << false << QList<QDate>{QDate(2027, 2, 10), QDate(2027, 10, 1)}
            << QList<QDate>{QDate(2027, 2, 11)};
        TradingCalendar rules = calendarFor2027();
        QList<QDate> everyBreak = october;
        for (QDate d(2027, 1, 1); d.month() < 10; d = d.addDays(1))
            if (!IsWeekend(d) && rules.IsHoliday(d))
                everyBreak << d;
        QTest::newRow("the year's notice")
            << everyBreak << true << QList<QDate>{QDate(2027, 10, 8)} << QList<QDate>{QDate(2027, 10, 11)};
    }
    void pastedAnnouncements()
    {
        QFETCH(QList<QDate>, announced);
        QFETCH(bool, wholeYear);
        QFETCH(QList<QDate>, closedAfter);
        QFETCH(QList<QDate>, openAfter);
        TradingCalendar calendar = calendarFor2027();
        const QDate clicked(2027, 3, 3);
        if (!wholeYear) {
            calendar.markDay(clicked, true);
            calendar.markDay(QDate(2027, 10, 8), true); // named by the October notice too
        }
        QCOMPARE(calendar.applyAnnouncement(2027, announced), wholeYear);
        QCOMPARE(calendar.yearSource(2027), wholeYear ? YearSource::Announced : YearSource::WorkedOut);
        for (const QDate& d : closedAfter)
            QVERIFY2(calendar.IsHoliday(d), qPrintable(d.toString(Qt::ISODate)));
        for (const QDate& d : openAfter)
            QVERIFY2(!calendar.IsHoliday(d), qPrintable(d.toString(Qt::ISODate)));
        // The notice's days are the exchanges', also after a restart; the trader's own stay his.
        TradingCalendar restarted = calendarFor2027();
        restarted.addOwnDays(HolidaysFile::serialize(calendar.ownMarks(), {}));
        for (const QDate& d : announced) {
            QVERIFY2(calendar.reason(d) == DayReason::Announced, qPrintable(d.toString(Qt::ISODate)));
            QCOMPARE(restarted.reason(d), DayReason::Announced);
        }
        if (!wholeYear)
            QCOMPARE(restarted.reason(clicked), DayReason::Own);
    }

    void lastCoveredYearIsTheLatest()
    {
        TradingCalendar calendar;
        QVERIFY(calendar.addClosedDays(u"2026-10-01\n2024-02-09\n"_s).isEmpty());
        QCOMPARE(calendar.lastCoveredYear(), 2026);
        calendar.addClosedDay(QDate(2025, 5, 1));
        QCOMPARE(calendar.lastCoveredYear(), 2026);
        calendar.addClosedDay(QDate());
        QCOMPARE(calendar.lastCoveredYear(), 2026);
    }
};

QTEST_GUILESS_MAIN(TestTradingCalendar)
#include "tst_trading_calendar.moc"
