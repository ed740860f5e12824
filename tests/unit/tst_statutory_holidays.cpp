// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/statutory_holidays.h"
#include "core/calendar/trading_calendar.h"

#include <QFile>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The exchanges' real weekday closures (holidays.txt is made from the published notices).
QSet<QDate> realClosures()
{
    QSet<QDate> dates;
    const QStringList lines = readText(u"" TICKBELL_SOURCE_DIR "/assets/holidays.txt"_s).split(u'\n');
    for (const QString& line : lines) {
        if (!line.startsWith(u'#') && !line.trimmed().isEmpty())
            dates.insert(QDate::fromString(line.trimmed(), Qt::ISODate));
    }
    return dates;
}

struct Coverage {
    int real = 0;
    int statutory = 0;
    int withBreaks = 0; // statutory days and the customary weeks
    int withMadeUp = 0; // and the make-up days
    int tradingDaysClosed = 0;
};

QString share(int part, int whole)
{
    return u"%1/%2 (%3 %)"_s.arg(part).arg(whole).arg(100.0 * part / whole, 0, 'f', 1);
}

} // namespace

// The back-test: each year's rules applied to the years whose real closures are known.
class TestStatutoryHolidays : public QObject {
    Q_OBJECT

    QMap<int, FestivalDates> m_festivals;
    QSet<QDate> m_real;
    QMap<int, Coverage> m_byRuleSet; // first year of the rule set -> figures

private slots:
    void initTestCase()
    {
        const QStringList rejected = parseFestivalDates(
            readText(u"" TICKBELL_SOURCE_DIR "/assets/statutory-holidays.txt"_s), m_festivals);
        QVERIFY2(rejected.isEmpty(), qPrintable(rejected.join(u'\n')));
        QCOMPARE(m_festivals.firstKey(), 2009);
        QCOMPARE(m_festivals.lastKey(), 2060);
        m_real = realClosures();
        QVERIFY(m_real.size() > 300);
    }

    void noTradingDayClosed_data()
    {
        QTest::addColumn<int>("year");
        for (int year = 2009; year <= 2026; ++year)
            QTest::addRow("%d", year) << year;
    }

    void noTradingDayClosed()
    {
        QFETCH(int, year);
        const FestivalDates dates = m_festivals.value(year);
        const QList<QDate> statutory = statutoryHolidayWeekdays(year, dates);
        QSet<QDate> closed(statutory.begin(), statutory.end());
        for (const QDate& d : customaryBreakWeekdays(year, dates))
            closed.insert(d);
        const qsizetype withBreaks = closed.size();
        for (const QDate& d : madeUpWeekdays(year, dates))
            closed.insert(d);
        QStringList tradingDays;
        for (const QDate& d : closed) {
            if (!m_real.contains(d))
                tradingDays << d.toString(Qt::ISODate);
        }
        Coverage& c = m_byRuleSet[holidayRulesFor(year).firstYear];
        for (const QDate& d : m_real)
            c.real += d.year() == year;
        c.statutory += int(statutory.size());
        c.withBreaks += int(withBreaks);
        c.withMadeUp += int(closed.size());
        c.tradingDaysClosed += int(tradingDays.size());
        QVERIFY2(tradingDays.isEmpty(), qPrintable(u"trading days closed: "_s + tradingDays.join(u' ')));
    }

    void cleanupTestCase()
    {
        Coverage all;
        for (auto it = m_byRuleSet.cbegin(); it != m_byRuleSet.cend(); ++it) {
            qInfo("rules of %d: statutory days cover %s of the real weekday closures, with the breaks %s, "
                  "with the make-up days %s; %d trading days closed",
                  it.key(), qPrintable(share(it->statutory, it->real)),
                  qPrintable(share(it->withBreaks, it->real)), qPrintable(share(it->withMadeUp, it->real)),
                  it->tradingDaysClosed);
            all.real += it->real;
            all.statutory += it->statutory;
            all.withBreaks += it->withBreaks;
            all.withMadeUp += it->withMadeUp;
        }
        if (all.real > 0)
            qInfo("all years: statutory days %s, with the breaks %s, with the make-up days %s",
                  qPrintable(share(all.statutory, all.real)), qPrintable(share(all.withBreaks, all.real)),
                  qPrintable(share(all.withMadeUp, all.real)));
    }

    // The years ahead get their make-up days (the back-test keeps the past ones honest).
    void madeUpDays_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("madeUp");
        QTest::newRow("Saturday and Sunday of May 2027") << QDate(2027, 5, 3) << true;
        QTest::newRow("the second of them") << QDate(2027, 5, 4) << true;
        QTest::newRow("Saturday New Year 2028") << QDate(2028, 1, 3) << true;
        QTest::newRow("Mid-Autumn inside the October week 2025") << QDate(2025, 10, 8) << true;
        QTest::newRow("not after a weekday holiday") << QDate(2027, 4, 6) << false;
    }

    void madeUpDays()
    {
        QFETCH(QDate, date);
        QTEST(madeUpWeekdays(date.year(), m_festivals.value(date.year())).contains(date), "madeUp");
    }

    void badLinesAreSkipped()
    {
        QMap<int, FestivalDates> years;
        const QStringList rejected =
            parseFestivalDates(u"# comment\n2027 2027-02-06 2027-04-05 2027-06-09 2027-09-15  # ok\n"
                               "2028 2028-01-26 2028-04-04 2028-05-28\n"              // a column missing
                               "2029 2029-02-13 2029-04-04 2029-06-16 2030-09-22\n"   // another year's date
                               "2031 2031-01-23 2031-04-05 2031-06-24 2031-10-01 x\n" // a column too many
                               "2032 2032-02-11 2032-04-04 2032-06-12 2032-9-19\n"_s,
                               years);
        QCOMPARE(years.keys(), QList<int>{2027});
        QCOMPARE(years[2027].dragonBoat, QDate(2027, 6, 9));
        QCOMPARE(rejected.size(), 4);
        QVERIFY(rejected[0].startsWith(u"line 3: 2028"_s));
    }

    // The file decides the years it covers, the festival dates only the years after it.
    void festivalDatesCloseOnlyUncoveredYears_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("closed");
        QTest::newRow("Qingming 2028, after the file") << QDate(2028, 4, 4) << true;
        QTest::newRow("Spring Festival eve 2028") << QDate(2028, 1, 25) << true;
        QTest::newRow("6th lunar day 2028") << QDate(2028, 1, 31) << true;
        QTest::newRow("7th lunar day 2028, the custom since 2024") << QDate(2028, 2, 1) << true;
        QTest::newRow("8th lunar day 2028") << QDate(2028, 2, 2) << false;
        QTest::newRow("New Year 2027, in the file's year") << QDate(2027, 1, 1) << false;
        QTest::newRow("the file's own day") << QDate(2027, 2, 12) << true;
        QTest::newRow("2010, the built-in list's year") << QDate(2010, 10, 4) << false;
    }

    void festivalDatesCloseOnlyUncoveredYears()
    {
        QFETCH(QDate, date);
        TradingCalendar calendar;
        calendar.addFestivalDates(u"2010 2010-02-14 2010-04-05 2010-06-16 2010-09-22\n"
                                  "2027 2027-02-06 2027-04-05 2027-06-09 2027-09-15\n"
                                  "2028 2028-01-26 2028-04-04 2028-05-28 2028-10-03\n"_s);
        calendar.addClosedDay(QDate(2027, 2, 12)); // after the festival dates: the order is free
        QTEST(calendar.IsHoliday(date), "closed");
    }
};

QTEST_GUILESS_MAIN(TestStatutoryHolidays)
#include "tst_statutory_holidays.moc"
