// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/calendar_files.h"
#include "core/calendar/trading_calendar.h"
#include "core/day/session_schedule.h"
#include "core/settings/text_file.h"
#include "fakes/system_code_page.h"
#include "fakes/texts.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const CodePage& kCodePage = systemCodePage();

const QString kShipped = QStringLiteral(TICKBELL_SOURCE_DIR "/assets/holidays.txt");
const QString kFestivals = QStringLiteral(TICKBELL_SOURCE_DIR "/assets/statutory-holidays.txt");

// The dates of the shipped file, read independently of the calendar's own parser.
QSet<QDate> shippedDates()
{
    QSet<QDate> dates;
    QFile file(kShipped);
    if (!file.open(QIODevice::ReadOnly))
        return dates;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        dates.insert(QDate::fromString(QString::fromLatin1(line), Qt::ISODate));
    }
    return dates;
}

QStringList auctionNotices(const TradingCalendar& calendar, QDate day)
{
    const SessionSchedule schedule(calendar);
    const TickResult r = schedule.tick(QDateTime(day, QTime(9, 20)), {}, Settings::defaults(), true);
    QStringList notices;
    for (const ScheduleEffect& e : r.effects) {
        if (e.kind == ScheduleEffect::Kind::AppendAdvice)
            notices << e.text;
    }
    return notices;
}

} // namespace

class TestHolidaysFile : public QObject {
    Q_OBJECT

    TradingCalendar m_calendar;

private slots:
    void initTestCase()
    {
        const QStringList problems = m_calendar.loadClosedDaysFile(kShipped, kCodePage);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        QCOMPARE(m_calendar.lastCoveredYear(), 2026);
        const QStringList festivalProblems = m_calendar.loadFestivalDatesFile(kFestivals, kCodePage);
        QVERIFY2(festivalProblems.isEmpty(), qPrintable(festivalProblems.join(u'\n')));
    }

    void knownDays_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("closed");
        QTest::newRow("exchange-only closure 2024-02-09") << QDate(2024, 2, 9) << true;
        QTest::newRow("2024-02-08 trades") << QDate(2024, 2, 8) << false;
        QTest::newRow("national day 2026-10-07") << QDate(2026, 10, 7) << true;
        QTest::newRow("2026-10-08 trades") << QDate(2026, 10, 8) << false;
        QTest::newRow("parade 2015-09-03") << QDate(2015, 9, 3) << true;
        QTest::newRow("parade 2015-09-04") << QDate(2015, 9, 4) << true;
        QTest::newRow("epidemic 2020-01-31") << QDate(2020, 1, 31) << true;
        QTest::newRow("built-in list still counts") << QDate(2010, 9, 22) << true;
        QTest::newRow("New Year 2027, past the file") << QDate(2027, 1, 1) << true;
        QTest::newRow("Spring Festival eve 2027") << QDate(2027, 2, 5) << true;
        QTest::newRow("7th lunar day 2027, the custom since 2024") << QDate(2027, 2, 12) << true;
        QTest::newRow("national day break 2027-10-07") << QDate(2027, 10, 7) << true;
        QTest::newRow("2027-10-08 trades") << QDate(2027, 10, 8) << false;
    }

    void knownDays()
    {
        QFETCH(QDate, date);
        QTEST(m_calendar.IsHoliday(date), "closed");
    }

    void everyWeekdayMatchesTheFile()
    {
        const QSet<QDate> listed = shippedDates();
        QVERIFY(listed.size() > 300);
        int holidays = 0;
        for (QDate d(2011, 1, 1); d <= QDate(2026, 12, 31); d = d.addDays(1)) {
            if (IsWeekend(d))
                continue;
            const bool expected = listed.contains(d);
            if (m_calendar.IsHoliday(d) != expected)
                QFAIL(qPrintable(
                    u"%1: expected %2"_s.arg(d.toString(Qt::ISODate), expected ? u"closed"_s : u"open"_s)));
            holidays += expected;
        }
        QVERIFY(holidays > 250);
    }

    void auctionNoticesFollowTheRealCalendar_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QStringList>("notices");
        QTest::newRow("Friday before the spring festival")
            << QDate(2026, 2, 13) << QStringList{Texts::WeekendTomorrow};
        QTest::newRow("day before national day") << QDate(2025, 9, 30) << QStringList{Texts::HolidayTomorrow};
        QTest::newRow("ordinary Tuesday") << QDate(2025, 9, 23) << QStringList{};
        QTest::newRow("day before New Year 2027")
            << QDate(2026, 12, 31) << QStringList{Texts::HolidayTomorrow};
    }

    void auctionNoticesFollowTheRealCalendar()
    {
        QFETCH(QDate, day);
        QTEST(auctionNotices(m_calendar, day), "notices");
    }

    void holidayFromTheFileIsAnnounced()
    {
        const SessionSchedule schedule(m_calendar);
        const TickResult r =
            schedule.tick(QDateTime(QDate(2026, 10, 1), QTime(10, 0)), {}, Settings::defaults(), true);
        QVERIFY(r.effects.contains(ScheduleEffect{ScheduleEffect::Kind::SetStatus, Texts::HolidayStatus}));
        QVERIFY(r.effects.contains(ScheduleEffect{ScheduleEffect::Kind::RequestPrompt, u"今天不开盘.wav"_s}));
    }

    void outdatedNotice_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("notice");
        QTest::newRow("in the file's last year") << QDate(2026, 12, 31) << QString();
        QTest::newRow("worked out from the statutory holidays")
            << QDate(2027, 1, 4)
            << u"提示：休市日历只到2026年，2027年的休市日是按法定节假日推算的；调休放假的日子要等交易所公布。"
               u"公布后请在“工具”菜单的“交易日历”里粘贴交易所的休市公告（也可以逐日点选），核对后保存。"_s;
        QTest::newRow("past the festival dates")
            << QDate(2061, 1, 3)
            << u"提示：休市日历只到2026年，今年的节假日休市还不知道。请在“工具”菜单的“交易日历”里补上今年的休市日：可以粘贴交易所的休市公告，也可以逐日点选，核对后保存。"_s;
    }

    void outdatedNotice()
    {
        QFETCH(QDate, today);
        QTEST(m_calendar.outdatedNotice(today), "notice");
        // Without a file nothing is said: the built-in list is all there is.
        QVERIFY(TradingCalendar().outdatedNotice(today).isEmpty());
    }

    void badLinesAreNamedAndSkipped()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(u"holidays.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# closed days\n2030-02-01\n\n2030-13-01\nnot a date\n  2030-02-04  # "
                   "Monday\n2030-2-5\n\xff\xfe\n");
        file.close();
        TradingCalendar calendar;
        const QStringList problems = calendar.loadClosedDaysFile(file.fileName(), kCodePage);
        QCOMPARE(problems.size(), 5); // the four lines, and that the file is not UTF-8
        QVERIFY(problems[1].contains(u"line 4"_s));
        QVERIFY(calendar.IsHoliday(QDate(2030, 2, 1)));
        QVERIFY(calendar.IsHoliday(QDate(2030, 2, 4)));
        QVERIFY(!calendar.IsHoliday(QDate(2030, 2, 5)));
        QCOMPARE(calendar.lastCoveredYear(), 2030);
    }

    // The program and every tool read the same files: the trader's own, beside config.txt, last.
    void theTradersOwnFileIsReadLastWhereItIsHis_data()
    {
        QTest::addColumn<bool>("inProgramFolder");
        QTest::addColumn<bool>("closed");
        QTest::newRow("settings in the user's folder") << false << true;
        QTest::newRow("settings in the program folder") << true << false;
    }

    void theTradersOwnFileIsReadLastWhereItIsHis()
    {
        QFETCH(bool, inProgramFolder);
        QTemporaryDir program;
        QTemporaryDir own;
        QVERIFY(QFile::copy(kShipped, program.filePath(u"holidays.txt"_s)));
        QFile file(own.filePath(u"holidays.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("2026-12-31\n"); // a Thursday the shipped file leaves open
        file.close();
        const ConfigLocation config{own.filePath(u"config.txt"_s), {}, inProgramFolder};
        QStringList problems;
        const TradingCalendar calendar = loadTradingCalendar(program.path(), config, kCodePage, &problems);
        QTEST(calendar.IsHoliday(QDate(2026, 12, 31)), "closed");
        QVERIFY(calendar.IsHoliday(QDate(2026, 10, 1)));
        QCOMPARE(problems.size(), 1); // statutory-holidays.txt is not in this program folder
    }

    // A save writes the trader's own days alone, so that a newer package's holidays.txt (here
    // one that no longer closes 2026-10-07) still reaches every day he did not set.
    void aSaveWritesOnlyTheTradersOwnDays_data()
    {
        QTest::addColumn<QByteArray>("ownBefore");
        QTest::addColumn<QDate>("closed");        // by a click, when valid
        QTest::addColumn<QList<QDate>>("pasted"); // 2027's notice, when any
        QTest::addColumn<QStringList>("saved");
        const QList<QDate> notice = {QDate(2027, 1, 1),  QDate(2027, 2, 5),  QDate(2027, 2, 8),
                                     QDate(2027, 2, 9),  QDate(2027, 2, 10), QDate(2027, 2, 11),
                                     QDate(2027, 2, 12), QDate(2027, 4, 5),  QDate(2027, 5, 3),
                                     QDate(2027, 5, 4),  QDate(2027, 5, 5),  QDate(2027, 6, 9),
                                     QDate(2027, 9, 15), QDate(2027, 10, 1), QDate(2027, 10, 4),
                                     QDate(2027, 10, 5), QDate(2027, 10, 6), QDate(2027, 10, 7)};
        QStringList noticeLines;
        for (const QDate& d : notice)
            noticeLines << d.toString(Qt::ISODate);
        QFile shipped(kShipped);
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QTest::newRow("a day he closed")
            << QByteArray() << QDate(2027, 10, 8) << QList<QDate>{} << QStringList{u"2027-10-08 closed"_s};
        QTest::newRow("a year he pasted") << QByteArray() << QDate() << notice << noticeLines;
        QTest::newRow("every day, as an earlier version saved it")
            << shipped.readAll() + "2027-10-08 closed\n"
            << QDate() << QList<QDate>{} << QStringList{u"2027-10-08 closed"_s};
    }

    void aSaveWritesOnlyTheTradersOwnDays()
    {
        QFETCH(QByteArray, ownBefore);
        QFETCH(QDate, closed);
        QFETCH(QList<QDate>, pasted);
        QTemporaryDir program;
        QTemporaryDir own;
        QVERIFY(QFile::copy(kShipped, program.filePath(u"holidays.txt"_s)));
        QVERIFY(QFile::copy(kFestivals, program.filePath(u"statutory-holidays.txt"_s)));
        const ConfigLocation config{own.filePath(u"config.txt"_s), {}, false};
        const QString ownPath = ownHolidaysPath(config);
        if (!ownBefore.isEmpty()) {
            QFile file(ownPath);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ownBefore) == ownBefore.size());
        }
        QStringList problems;
        TradingCalendar calendar = loadTradingCalendar(program.path(), config, kCodePage, &problems);
        if (closed.isValid())
            calendar.markDay(closed, true);
        if (!pasted.isEmpty())
            calendar.announceYear(2027, pasted);
        QVERIFY(HolidaysFile::save(ownPath, calendar.ownMarks(), kCodePage));
        QFile file(ownPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList lines;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            if (!line.trimmed().isEmpty() && !line.startsWith(u'#'))
                lines << line.trimmed();
        }
        QTEST(lines, "saved");

        QFile newer(program.filePath(u"holidays.txt"_s));
        QVERIFY(newer.open(QIODevice::ReadWrite));
        const QByteArray corrected = newer.readAll().replace("2026-10-07\n", "");
        QVERIFY(newer.resize(0) && newer.write(corrected) == corrected.size());
        newer.close();
        const TradingCalendar upgraded = loadTradingCalendar(program.path(), config, kCodePage, &problems);
        QVERIFY(!upgraded.IsHoliday(QDate(2026, 10, 7)));
        for (QDate d(2027, 1, 1); d.year() == 2027; d = d.addDays(1))
            QCOMPARE(upgraded.reason(d), calendar.reason(d));
    }

    void aRejectedLineIsNeverCutInsideACharacter()
    {
        // The 80th unit is the first half of U+F4D35: cut there, the report is invalid text.
        const QString line = QString(79, u'x') + QString::fromUcs4(U"\U000F4D35");
        const QStringList rejected = TradingCalendar().addClosedDays(line);
        QCOMPARE(rejected, QStringList{u"line 1: "_s + QString(79, u'x')});
    }

    void byteOrderMarkIsNotABadLine()
    {
        TradingCalendar calendar;
        QCOMPARE(calendar.addClosedDays(QString::fromUtf8("\xEF\xBB\xBF"
                                                          "2030-02-01\n")),
                 QStringList());
        QVERIFY(calendar.IsHoliday(QDate(2030, 2, 1)));
    }

    void exceptionLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<DayMarks>("marks");
        const QDate may3(2027, 5, 3);
        QTest::newRow("tab, capitals, comment")
            << u"2027-05-03\tOPEN  # 交易所通知"_s << DayMarks{{may3, DayMark::Open}};
        QTest::newRow("a later line wins")
            << u"2027-05-03 open\n2027-05-03"_s << DayMarks{{may3, DayMark::Closed}};
        QTest::newRow("unknown word") << u"2027-05-03 shut"_s << DayMarks{};
    }

    void exceptionLines()
    {
        QFETCH(QString, text);
        QFETCH(DayMarks, marks);
        const HolidaysFile::Parsed parsed = HolidaysFile::parse(text);
        QCOMPARE(parsed.marks, marks);
        QCOMPARE(parsed.rejected.size(), marks.isEmpty() ? 1 : 0);
    }

    // A save changes only the lines of the days that changed: every other line stays byte for
    // byte, with its line end and encoding (Notepad's "ANSI" is GBK).
    void aSaveChangesOnlyTheDaysThatChanged_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<DayMarks>("marks");
        QTest::addColumn<QByteArray>("saved");
        const QDate oct1(2026, 10, 1), oct2(2026, 10, 2), oct5(2026, 10, 5), oct8(2026, 10, 8);
        const QDate jan1(2027, 1, 1);
        const auto closed = DayMark::Closed;
        QTest::newRow("a day added among its year's, LF")
            << QByteArray("# h\n\n2026-10-01\n2026-10-02 # x\n\n2027-01-01\n")
            << DayMarks{{oct1, closed}, {oct2, closed}, {oct8, DayMark::ClosedBesideRules}, {jan1, closed}}
            << QByteArray("# h\n\n2026-10-01\n2026-10-02 # x\n2026-10-08 closed\n\n2027-01-01\n");
        QTest::newRow("a day opened keeps its spacing and comment, one removed, CR LF")
            << QByteArray("2026-10-01\t\t# x\r\n2026-10-02\r\n2026-10-05\r\n")
            << DayMarks{{oct1, DayMark::Open}, {oct5, closed}}
            << QByteArray("2026-10-01 open\t\t# x\r\n2026-10-05\r\n");
        QTest::newRow("a new year, a blank line apart")
            << QByteArray("2026-10-01\n")
            << DayMarks{{oct1, closed}, {jan1, closed}, {QDate(2027, 2, 11), closed}}
            << QByteArray("2026-10-01\n\n2027-01-01\n2027-02-11\n");
        QTest::newRow("an earlier year before the first")
            << QByteArray("# h\n2027-01-01\n")
            << DayMarks{{QDate(2026, 12, 31), DayMark::ClosedBesideRules}, {jan1, closed}}
            << QByteArray("# h\n2026-12-31 closed\n\n2027-01-01\n");
        QTest::newRow("GBK comments and a line not understood")
            << QByteArray(
                   "# \xBD\xBB\xD2\xD7\xCB\xF9\r\n\r\n2026-10-01  # \xB9\xFA\xC7\xEC\r\n\xD4\xAA\xB5\xA9\r\n")
            << DayMarks{{oct1, DayMark::Open}, {oct8, DayMark::ClosedBesideRules}}
            << QByteArray("# \xBD\xBB\xD2\xD7\xCB\xF9\r\n\r\n2026-10-01 open  # \xB9\xFA\xC7\xEC\r\n"
                          "2026-10-08 closed\r\n\xD4\xAA\xB5\xA9\r\n");
        QTest::newRow("a day said twice: the later line changes")
            << QByteArray("\xEF\xBB\xBF"
                          "2027-05-03 open\n2027-05-03\n")
            << DayMarks{{QDate(2027, 5, 3), DayMark::Open}}
            << QByteArray("\xEF\xBB\xBF"
                          "2027-05-03 open\n2027-05-03 open\n");
        QTest::newRow("no line end at the end")
            << QByteArray("2026-10-01") << DayMarks{{oct1, closed}, {oct2, closed}}
            << QByteArray("2026-10-01\r\n2026-10-02\r\n");
        const DayMarks fresh{{QDate(2027, 1, 4), DayMark::ClosedBesideRules}};
        QTest::newRow("a new file starts with the format")
            << QByteArray() << fresh << HolidaysFile::serialize(fresh, {}).toUtf8();
    }
    void aSaveChangesOnlyTheDaysThatChanged()
    {
        QFETCH(QByteArray, file);
        QFETCH(DayMarks, marks);
        const QByteArray saved = HolidaysFile::edit(file, marks, kCodePage);
        QTEST(saved, "saved");
        QCOMPARE(HolidaysFile::parse(TextFile::decode(saved, kCodePage).text).marks, marks);
    }

    // With the file ending in 2020 the rules decide 2021-2026, now with the days made up for
    // weekend holidays.
    void rulesAfterAFileCutAt2020_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::newRow("2021-04-05") << QDate(2021, 4, 5);
        QTest::newRow("2022-01-03") << QDate(2022, 1, 3);
        QTest::newRow("2023-01-02") << QDate(2023, 1, 2);
        QTest::newRow("2025-06-02") << QDate(2025, 6, 2);
        QTest::newRow("2026-04-06") << QDate(2026, 4, 6);
    }

    void rulesAfterAFileCutAt2020()
    {
        QFETCH(QDate, date);
        QStringList until2020;
        for (const QDate& d : shippedDates()) {
            if (d.year() <= 2020)
                until2020 << d.toString(Qt::ISODate);
        }
        TradingCalendar calendar;
        calendar.addClosedDays(until2020.join(u'\n'));
        QVERIFY(calendar.loadFestivalDatesFile(kFestivals, kCodePage).isEmpty());
        QVERIFY(calendar.IsHoliday(date));
        QCOMPARE(calendar.reason(date), DayReason::MadeUp);
    }

    void unreadableFileIsReported()
    {
        TradingCalendar calendar;
        const QStringList problems = calendar.loadClosedDaysFile(u"/nonexistent/holidays.txt"_s, kCodePage);
        QCOMPARE(problems.size(), 1);
        QCOMPARE(calendar.lastCoveredYear(), 0);
        QVERIFY(!calendar.IsHoliday(QDate(2024, 2, 9)));
    }
};

QTEST_GUILESS_MAIN(TestHolidaysFile)
#include "tst_holidays_file.moc"
