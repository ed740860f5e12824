// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/trading_calendar.h"
#include "core/day/session_schedule.h"
#include "core/day/trading_day.h"
#include "core/settings/settings.h"
#include "core/settings/settings_file.h"
#include "fakes/system_code_page.h"
#include "fakes/texts.h"
#include "platform/dummy/dummy_services.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimeZone>
#include <functional>

using namespace Qt::StringLiterals;
using namespace Texts;

namespace {

QString advice(const QString& letter)
{
    static const QHash<QString, QString> texts = {
        {u"A"_s, AdviceA}, {u"B"_s, AdviceB}, {u"C"_s, AdviceC}, {u"D"_s, AdviceD},
        {u"E"_s, AdviceE}, {u"F"_s, AdviceF}, {u"G"_s, AdviceG}, {u"W"_s, AdviceW},
    };
    return texts.value(letter, u"unknown advice letter "_s + letter);
}

QString launchName(LaunchTarget launch)
{
    switch (launch) {
    case LaunchTarget::NewsPage: return u"news"_s;
    case LaunchTarget::QuotesPage: return u"quotes"_s;
    case LaunchTarget::TradingProgram: return u"trading"_s;
    case LaunchTarget::QuickShutdown: return u"shutdown"_s;
    default: break;
    }
    return u"none"_s;
}

// "09:20:00 news"
QString stamp(const QDateTime& at, const QString& what)
{
    return at.time().toString(u"HH:mm:ss"_s) + u' ' + what;
}

// Where a text begins, each holding until the next.
using Ranges = QList<std::pair<QTime, QString>>;

QTime hms(const QString& text)
{
    return QTime::fromString(text, u"HH:mm:ss"_s);
}

// The trading day on fakes, recording what each tick told the world.
struct Day {
    struct Tick {
        QString clockLine;
        QString status;
        QString advice;
        QStringList prompts;
        QStringList launches;
        bool armed = false;
        bool opened = false;
    };

    // Started at startAt, or at the clock's own moment when that is invalid.
    Day(const TradingCalendar& calendar, const Settings& s, bool autoexitChecked,
        const QDateTime& startAt = {})
        : day(services(calendar))
    {
        if (startAt.isValid())
            clock.set(startAt);
        // A trader's file, for the start to read.
        QVERIFY(SettingsFile(folder.filePath(u"config.txt"_s), QString(), codePage).save(s));
        day.setAutoExit(autoexitChecked);
        day.start();
        QObject::connect(&day, &TradingDay::clockChanged,
                         [this](const QString& text) { current.clockLine = text; });
        QObject::connect(&day, &TradingDay::titleChanged, [this](const QString& text) { titles << text; });
        QObject::connect(&day, &TradingDay::promptRequested,
                         [this](const QString& name, bool) { current.prompts << name; });
        QObject::connect(&day, &TradingDay::programPathNeeded, [this] { ++askedForPath; });
        QObject::connect(&day, &TradingDay::exitRequested, [this] { ++exits; });
    }

    TradingDayServices services(const TradingCalendar& calendar)
    {
        TradingDayServices s;
        s.clock = &clock;
        s.codePage = &codePage;
        s.audio = &audio;
        s.launcher = &launcher;
        s.programFolder = u"/opt/tickbell"_s;
        s.configPath = folder.filePath(u"config.txt"_s);
        s.calendar = calendar;
        return s;
    }

    Tick tick(const QDateTime& now)
    {
        clock.set(now);
        current = {};
        const qint16 openedBefore = day.openall;
        const qsizetype launchedBefore = launcher.launches.size();
        day.tick();
        for (const QString& what : launcher.launches.mid(launchedBefore))
            current.launches << launchName(what);
        current.opened = openedBefore == 0 && day.openall == 1;
        current.armed = day.countdownTimer().isActive();
        current.status = day.status();
        current.advice = day.advice();
        for (const QString& p : current.prompts)
            prompts << stamp(now, p);
        for (const QString& l : current.launches)
            launches << stamp(now, l);
        if (current.opened)
            opened << now;
        if (current.armed)
            armed << now;
        return current;
    }

    // One tick a second from "from" to "to", both included.
    void run(const QDateTime& from, const QDateTime& to)
    {
        for (QDateTime now = from; now <= to; now = now.addSecs(1))
            ticks.insert(now, tick(now));
    }

    // What each launch was, by where it went.
    QString launchName(const QString& target) const
    {
        if (target.contains(QString::fromUtf16(LaunchTargets::kNewsHost)))
            return u"news"_s;
        if (target.contains(QString::fromUtf16(LaunchTargets::kQuotesHost)))
            return u"quotes"_s;
        if (target.endsWith(u"poweroff.exe"_s))
            return u"shutdown"_s;
        if (target == day.settings().mysoft)
            return u"trading"_s;
        return u"unknown "_s + target;
    }

    QTemporaryDir folder;
    DummyClock clock;
    const CodePage& codePage = systemCodePage();
    DummyAudio audio;
    DummyLauncher launcher;
    TradingDay day;
    Tick current;
    QHash<QDateTime, Tick> ticks;
    QStringList prompts;
    QStringList launches;
    QList<QDateTime> opened;
    QList<QDateTime> armed; // the ticks after which the countdown ran
    QStringList titles;
    int askedForPath = 0;
    int exits = 0;
};

Settings allLaunchesOn()
{
    Settings s = Settings::defaults();
    s.qqnews = 1;
    s.flashweb = 1;
    s.ssoft = 1;
    s.mysoft = u"/opt/trader/client"_s;
    return s;
}

const QDate kWednesday(2010, 2, 10);
const QDate kFriday(2010, 2, 12);
const QDate kSaturday(2010, 2, 13);
const QDate kSundayBeforeHoliday(2010, 2, 14);
const QDate kListedHoliday(2010, 2, 15);
const QDate kDayBeforeHoliday(2009, 9, 30);

// The prompts of a whole trading day from 9:00 on, in order.
const QStringList kDayPrompts = {
    u"09:20:00 机构竞价.wav"_s,        u"09:30:00 上午开盘时间.wav"_s, u"09:40:00 盘中关键时间点1.wav"_s,
    u"10:30:00 盘中关键时间点2.wav"_s, u"11:25:00 5分钟后收盘.wav"_s,  u"11:30:00 中午休盘时间.WAV"_s,
    u"12:50:00 机构竞价.wav"_s,        u"13:00:00 下午开盘时间.wav"_s, u"13:10:00 盘中关键时间点1.wav"_s,
    u"14:00:00 盘中关键时间点2.wav"_s, u"14:55:00 5分钟后收盘.wav"_s,  u"15:00:00 今天已收盘.wav"_s,
};

} // namespace

class TestTradingDay : public QObject {
    Q_OBJECT

    TradingCalendar m_calendar;
    // An ordinary Wednesday watched from 9:00 to 15:05, auto-exit checked.
    std::unique_ptr<Day> m_day;

private slots:
    void initTestCase()
    {
        m_day = std::make_unique<Day>(m_calendar, Settings::defaults(), true);
        m_day->run(QDateTime(kWednesday, QTime(9, 0)), QDateTime(kWednesday, QTime(15, 5)));
    }

    // The status line and the advice on every second of the day, from the ranges of the timetable.
    void everySecond_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<Ranges>("ranges");
        QTest::newRow("status, Label1")
            << u"status"_s
            << Ranges{
                   {QTime(9, 0), NotOpen},       {QTime(9, 30), InSession},  {QTime(9, 40), KeyPoint},
                   {QTime(9, 41), InSession},    {QTime(10, 30), KeyPoint},  {QTime(10, 31), InSession},
                   {QTime(11, 25), ClosingSoon}, {QTime(11, 26), InSession}, {QTime(11, 30), MiddayBreak},
                   {QTime(13, 0), InSession},    {QTime(13, 10), KeyPoint},  {QTime(13, 11), InSession},
                   {QTime(14, 0), KeyPoint},     {QTime(14, 1), InSession},  {QTime(14, 55), ClosingSoon},
                   {QTime(14, 56), InSession},   {QTime(15, 0), Closed},
               };
        QTest::newRow("advice, Label4")
            << u"advice"_s
            << Ranges{
                   {QTime(9, 0), AdviceW},   {QTime(9, 20), AdviceA},  {QTime(9, 30), AdviceB},
                   {QTime(9, 40), AdviceC},  {QTime(11, 25), AdviceD}, {QTime(11, 30), AdviceE},
                   {QTime(12, 50), AdviceA}, {QTime(13, 0), AdviceF},  {QTime(13, 10), AdviceG},
                   {QTime(14, 55), AdviceD}, {QTime(15, 0), AdviceW},
               };
    }
    void everySecond()
    {
        QFETCH(QString, line);
        QFETCH(Ranges, ranges);
        int checked = 0;
        for (QTime t(9, 0); t <= QTime(15, 5); t = t.addSecs(1)) {
            QString expected;
            for (const auto& [from, text] : ranges) {
                if (t >= from)
                    expected = text;
            }
            const QDateTime at(kWednesday, t);
            QVERIFY2(m_day->ticks.contains(at), qPrintable(t.toString()));
            const Day::Tick& tick = m_day->ticks[at];
            const QString& shown = line == u"status" ? tick.status : tick.advice;
            if (shown != expected)
                QFAIL(qPrintable(u"%1: %2, expected %3"_s.arg(t.toString(), shown, expected)));
            ++checked;
        }
        QCOMPARE(checked, 6 * 3600 + 5 * 60 + 1);
    }

    void wholeDayPromptsInOrder()
    {
        QCOMPARE(m_day->prompts, kDayPrompts);
        QVERIFY(m_day->launches.isEmpty());
        QVERIFY(m_day->titles.isEmpty()); // the schedule leaves the title alone
        // AutoOpen runs once, at the morning auction, even with nothing to launch.
        QCOMPARE(m_day->opened, QList<QDateTime>{QDateTime(kWednesday, QTime(9, 20))});
        // Armed on every tick from 15:00:00 on and never before.
        QCOMPARE(m_day->armed.size(), 5 * 60 + 1);
        QCOMPARE(m_day->armed.first(), QDateTime(kWednesday, QTime(15, 0)));
        QCOMPARE(m_day->armed.last(), QDateTime(kWednesday, QTime(15, 5)));
    }

    void promptComesBeforeItsAdvice()
    {
        // playok, then playsound, then Label4: the effects keep that order.
        const SessionSchedule schedule(m_calendar);
        for (const QTime t : {QTime(9, 20), QTime(9, 30), QTime(9, 40), QTime(11, 30), QTime(15, 0)}) {
            const TickResult r =
                schedule.tick(QDateTime(kFriday, t), {u"Tickbell.wav"_s, 0}, Settings::defaults(), false);
            qsizetype prompt = -1, adviceAt = -1;
            for (qsizetype i = 0; i < r.effects.size(); ++i) {
                if (r.effects[i].kind == ScheduleEffect::Kind::RequestPrompt && prompt < 0)
                    prompt = i;
                if (r.effects[i].kind == ScheduleEffect::Kind::SetAdvice && adviceAt < 0)
                    adviceAt = i;
            }
            QVERIFY2(prompt >= 0 && adviceAt > prompt, qPrintable(t.toString()));
        }
    }

    void auctionNotices_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QDate>("extraClosedDay"); // added to the calendar, or invalid
        QTest::addColumn<QString>("auctionAdvice");

        QTest::newRow("ordinary Wednesday 2010-02-10") << kWednesday << QDate() << AdviceA;
        QTest::newRow("Friday 2010-02-12, the holiday week follows")
            << kFriday << QDate() << QString(AdviceA + WeekendTomorrow);
        QTest::newRow("day before a listed holiday 2009-09-30")
            << kDayBeforeHoliday << QDate() << QString(AdviceA + HolidayTomorrow);
        QTest::newRow("new year's eve 2009-12-31")
            << QDate(2009, 12, 31) << QDate() << QString(AdviceA + HolidayTomorrow);
        QTest::newRow("Friday before a listed Saturday: holiday first")
            << QDate(2010, 3, 5) << QDate(2010, 3, 6) << QString(AdviceA + HolidayTomorrow + WeekendTomorrow);
    }
    void auctionNotices()
    {
        QFETCH(QDate, day);
        QFETCH(QDate, extraClosedDay);
        QFETCH(QString, auctionAdvice);

        TradingCalendar calendar;
        if (extraClosedDay.isValid())
            calendar.addClosedDay(extraClosedDay);
        Day m(calendar, allLaunchesOn(), true);
        m.run(QDateTime(day, QTime(9, 0)), QDateTime(day, QTime(15, 5)));

        QCOMPARE(m.prompts, kDayPrompts);
        QCOMPARE(m.ticks[QDateTime(day, QTime(9, 20))].advice, auctionAdvice);
        QCOMPARE(m.ticks[QDateTime(day, QTime(9, 29, 59))].advice, auctionAdvice);
        QCOMPARE(m.ticks[QDateTime(day, QTime(12, 50))].advice, auctionAdvice);
        QCOMPARE(m.ticks[QDateTime(day, QTime(12, 59, 59))].advice, auctionAdvice);
        // The notices belong to the auction only.
        QCOMPARE(m.ticks[QDateTime(day, QTime(9, 30))].advice, AdviceB);
        QCOMPARE(m.ticks[QDateTime(day, QTime(15, 0))].advice, AdviceW);
        // Launched once, at the morning auction, in the order news, quotes, trading program.
        QCOMPARE(m.launches, QStringList({u"09:20:00 news"_s, u"09:20:00 quotes"_s, u"09:20:00 trading"_s}));
        QCOMPARE(m.opened.size(), 1);
    }

    void nonTradingDays_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QDate>("extraClosedDay");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("autoexit");
        QTest::addColumn<QString>("prompt"); // requested on every tick, or empty for none

        const QString holidayPrompt = u"今天不开盘.wav"_s;
        QTest::newRow("Saturday 2010-02-13, auto-exit")
            << kSaturday << QDate() << SaturdayStatus << true << QString();
        QTest::newRow("Saturday 2010-02-13, no auto-exit")
            << kSaturday << QDate() << SaturdayStatus << false << QString();
        QTest::newRow("Sunday 2010-02-14 before a listed Monday, auto-exit")
            << kSundayBeforeHoliday << QDate() << SundayStatus << true << QString();
        QTest::newRow("Sunday 2010-02-14 before a listed Monday, no auto-exit")
            << kSundayBeforeHoliday << QDate() << SundayStatus << false << QString();
        QTest::newRow("listed holiday 2010-02-15, auto-exit")
            << kListedHoliday << QDate() << HolidayStatus << true << holidayPrompt;
        QTest::newRow("listed holiday 2010-02-15, no auto-exit")
            << kListedHoliday << QDate() << HolidayStatus << false << holidayPrompt;
        QTest::newRow("listed holiday 2009-10-8 Thursday")
            << QDate(2009, 10, 8) << QDate() << HolidayStatus << true << holidayPrompt;
        QTest::newRow("a listed Saturday is a weekend")
            << QDate(2010, 3, 6) << QDate(2010, 3, 6) << SaturdayStatus << true << QString();
    }
    void nonTradingDays()
    {
        QFETCH(QDate, day);
        QFETCH(QDate, extraClosedDay);
        QFETCH(QString, status);
        QFETCH(bool, autoexit);
        QFETCH(QString, prompt);

        TradingCalendar calendar;
        if (extraClosedDay.isValid())
            calendar.addClosedDay(extraClosedDay);
        Day m(calendar, allLaunchesOn(), autoexit);
        const QStringList expectedPrompts = prompt.isEmpty() ? QStringList() : QStringList{prompt};
        int ticks = 0;
        // Every second of the day, checked as it passes.
        for (QDateTime now(day, QTime(0, 0)); now.date() == day; now = now.addSecs(1), ++ticks) {
            const Day::Tick t = m.tick(now);
            if (t.status != status || t.advice != AdviceW || t.armed != autoexit || !t.launches.isEmpty() ||
                t.opened || t.prompts != expectedPrompts)
                QFAIL(qPrintable(u"%1: %2, armed %3, prompts %4"_s.arg(now.toString(Qt::ISODate), t.status)
                                     .arg(t.armed)
                                     .arg(t.prompts.join(u','))));
        }
        QCOMPARE(ticks, 24 * 3600);
        QCOMPARE(m.day.playok, prompt.isEmpty() ? u"Tickbell.wav"_s : prompt);
        QCOMPARE(m.day.openall, qint16(0));
        QCOMPARE(m.armed.size(), autoexit ? ticks : 0);
    }

    void holidayThenNextTradingDay()
    {
        Day m(m_calendar, Settings::defaults(), false);
        m.run(QDateTime(QDate(2010, 2, 19), QTime(9, 0)), QDateTime(QDate(2010, 2, 19), QTime(9, 30)));
        QCOMPARE(m.day.playok, u"今天不开盘.wav"_s);
        m.prompts.clear();
        m.run(QDateTime(QDate(2010, 2, 22), QTime(9, 19, 58)), QDateTime(QDate(2010, 2, 22), QTime(9, 30)));
        QCOMPARE(m.prompts, QStringList({u"09:20:00 机构竞价.wav"_s, u"09:30:00 上午开盘时间.wav"_s}));
        QCOMPARE(m.ticks[QDateTime(QDate(2010, 2, 22), QTime(9, 20))].status, NotOpen);
    }

    void startedAt0935KeepsWelcomeUntil0940()
    {
        Day m(m_calendar, allLaunchesOn(), true);
        m.run(QDateTime(kWednesday, QTime(9, 35)), QDateTime(kWednesday, QTime(10, 31)));
        for (QTime t(9, 35); t < QTime(9, 40); t = t.addSecs(1)) {
            const Day::Tick& tick = m.ticks[QDateTime(kWednesday, t)];
            QCOMPARE(tick.advice, AdviceW);
            QCOMPARE(tick.status, InSession);
        }
        QCOMPARE(m.ticks[QDateTime(kWednesday, QTime(9, 40))].advice, AdviceC);
        QCOMPARE(m.prompts,
                 QStringList({u"09:40:00 盘中关键时间点1.wav"_s, u"10:30:00 盘中关键时间点2.wav"_s}));
        QVERIFY(m.launches.isEmpty());
        QVERIFY(m.armed.isEmpty());
    }

    void startedAfterClose_data()
    {
        QTest::addColumn<bool>("autoexit");
        QTest::newRow("auto-exit checked") << true;
        QTest::newRow("auto-exit unchecked") << false;
    }
    void startedAfterClose()
    {
        QFETCH(bool, autoexit);
        Day m(m_calendar, allLaunchesOn(), autoexit);
        const Day::Tick first = m.tick(QDateTime(kWednesday, QTime(15, 30)));
        QCOMPARE(first.status, Closed);
        QCOMPARE(first.advice, AdviceW);
        QVERIFY(first.prompts.isEmpty());
        QCOMPARE(first.armed, autoexit);
        m.run(QDateTime(kWednesday, QTime(15, 30, 1)), QDateTime(kWednesday, QTime(23, 59, 59)));
        QVERIFY(m.prompts.isEmpty());
        QVERIFY(m.launches.isEmpty());
        QCOMPARE(m.day.playok, u"Tickbell.wav"_s);
        QCOMPARE(m.armed.size(), autoexit ? 8 * 3600 + 30 * 60 : 0);
    }

    // The first tick of a program started at that moment: a window still open is announced at
    // once, one that has passed is not caught up on.
    void firstTickOfAFreshRun_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("adviceLetter");
        QTest::addColumn<QString>("prompt");

        auto row = [](const char* time, const QString& status, const char* letter, const QString& prompt) {
            QTest::newRow(time) << QString::fromLatin1(time) << status << QString::fromLatin1(letter)
                                << prompt;
        };
        row("09:19:59", NotOpen, "W", {});
        row("09:20:00", NotOpen, "A", u"机构竞价.wav"_s);
        row("09:29:59", NotOpen, "A", u"机构竞价.wav"_s);
        row("09:30:59", InSession, "B", u"上午开盘时间.wav"_s);
        row("09:31:00", InSession, "W", {});
        row("09:40:59", KeyPoint, "C", u"盘中关键时间点1.wav"_s);
        row("09:41:00", InSession, "W", {});
        row("10:30:59", KeyPoint, "C", u"盘中关键时间点2.wav"_s);
        row("10:31:00", InSession, "W", {});
        row("11:25:59", ClosingSoon, "D", u"5分钟后收盘.wav"_s);
        row("11:26:00", InSession, "W", {});
        row("11:30:59", MiddayBreak, "E", u"中午休盘时间.WAV"_s);
        row("11:31:00", MiddayBreak, "W", {});
        row("12:50:59", MiddayBreak, "A", u"机构竞价.wav"_s);
        row("12:51:00", MiddayBreak, "W", {});
        row("13:00:59", InSession, "F", u"下午开盘时间.wav"_s);
        row("13:01:00", InSession, "W", {});
        row("13:10:59", KeyPoint, "G", u"盘中关键时间点1.wav"_s);
        row("13:11:00", InSession, "W", {});
        row("14:00:59", KeyPoint, "G", u"盘中关键时间点2.wav"_s);
        row("14:01:00", InSession, "W", {});
        row("14:55:59", ClosingSoon, "D", u"5分钟后收盘.wav"_s);
        row("14:56:00", InSession, "W", {});
        row("15:00:59", Closed, "W", u"今天已收盘.wav"_s);
        row("15:01:00", Closed, "W", {});
    }
    void firstTickOfAFreshRun()
    {
        QFETCH(QString, time);
        QFETCH(QString, status);
        QFETCH(QString, adviceLetter);
        QFETCH(QString, prompt);

        Day m(m_calendar, Settings::defaults(), false);
        const Day::Tick t = m.tick(QDateTime(kWednesday, hms(time)));
        QCOMPARE(t.status, status);
        QCOMPARE(t.advice, advice(adviceLetter));
        QCOMPARE(t.prompts, prompt.isEmpty() ? QStringList() : QStringList{prompt});
    }

    void autoOpenOncePerRun_data()
    {
        QTest::addColumn<QTime>("start");
        QTest::addColumn<QStringList>("launches");
        QTest::addColumn<QStringList>("prompts");

        QTest::newRow("started 09:00, morning auction")
            << QTime(9, 0) << QStringList{u"09:20:00 news"_s} << kDayPrompts;
        QTest::newRow("started 09:25 inside the morning auction")
            << QTime(9, 25) << QStringList{u"09:25:00 news"_s}
            << QStringList(QStringList{u"09:25:00 机构竞价.wav"_s} + kDayPrompts.mid(1));
        QTest::newRow("started 10:00, midday auction")
            << QTime(10, 0) << QStringList{u"12:50:00 news"_s} << kDayPrompts.mid(3);
        QTest::newRow("started 12:50:30 inside the midday auction")
            << QTime(12, 50, 30) << QStringList{u"12:50:30 news"_s}
            << QStringList(QStringList{u"12:50:30 机构竞价.wav"_s} + kDayPrompts.mid(7));
        QTest::newRow("started 12:51, nothing that day")
            << QTime(12, 51) << QStringList() << kDayPrompts.mid(7);
        QTest::newRow("started 15:30, nothing") << QTime(15, 30) << QStringList() << QStringList();
    }
    void autoOpenOncePerRun()
    {
        QFETCH(QTime, start);
        QFETCH(QStringList, launches);
        QFETCH(QStringList, prompts);

        Settings s = Settings::defaults();
        s.qqnews = 1;
        Day m(m_calendar, s, true);
        m.run(QDateTime(kWednesday, start), QDateTime(kWednesday, QTime(15, 5)));

        QCOMPARE(m.prompts, prompts);
        QCOMPARE(m.launches, launches);
        QCOMPARE(m.opened.size(), launches.size());
        QCOMPARE(m.day.openall, qint16(launches.isEmpty() ? 0 : 1));
    }

    // A run that goes on overnight announces the next day's auctions but launches nothing.
    void runIntoNextDayLaunchesNothing()
    {
        const QDate thursday = kWednesday.addDays(1);
        Day m(m_calendar, allLaunchesOn(), false);
        m.run(QDateTime(kWednesday, QTime(9, 0)), QDateTime(thursday, QTime(15, 5)));
        QCOMPARE(m.launches, QStringList({u"09:20:00 news"_s, u"09:20:00 quotes"_s, u"09:20:00 trading"_s}));
        QCOMPARE(m.opened, QList<QDateTime>{QDateTime(kWednesday, QTime(9, 20))});
        // The same twelve prompts each day, the second day's auction included.
        QCOMPARE(m.prompts.size(), 2 * kDayPrompts.size());
        QCOMPARE(m.prompts.mid(kDayPrompts.size()), kDayPrompts);
        QCOMPARE(m.ticks[QDateTime(thursday, QTime(9, 20))].advice, AdviceA);
        // Overnight the day counts as closed; after midnight it is "not open yet".
        QCOMPARE(m.ticks[QDateTime(kWednesday, QTime(23, 59, 59))].status, Closed);
        QCOMPARE(m.ticks[QDateTime(thursday, QTime(0, 0))].status, NotOpen);
    }

    void autoOpenCombinations_data()
    {
        QTest::addColumn<qint16>("qqnews");
        QTest::addColumn<qint16>("flashweb");
        QTest::addColumn<qint16>("ssoft");
        QTest::addColumn<QString>("mysoft");
        QTest::addColumn<QStringList>("launches");

        const QString path = u"/home/u/交易/client.desktop"_s;
        using L = QStringList;
        QTest::newRow("all off") << qint16(0) << qint16(0) << qint16(0) << path << L{};
        QTest::newRow("news") << qint16(1) << qint16(0) << qint16(0) << path << L{u"news"_s};
        QTest::newRow("quotes") << qint16(0) << qint16(1) << qint16(0) << path << L{u"quotes"_s};
        QTest::newRow("trading program") << qint16(0) << qint16(0) << qint16(1) << path << L{u"trading"_s};
        QTest::newRow("news and quotes")
            << qint16(1) << qint16(1) << qint16(0) << path << L{u"news"_s, u"quotes"_s};
        QTest::newRow("quotes and trading")
            << qint16(0) << qint16(1) << qint16(1) << path << L{u"quotes"_s, u"trading"_s};
        QTest::newRow("news and trading")
            << qint16(1) << qint16(0) << qint16(1) << path << L{u"news"_s, u"trading"_s};
        QTest::newRow("all three") << qint16(1) << qint16(1) << qint16(1) << path
                                   << L{u"news"_s, u"quotes"_s, u"trading"_s};
        QTest::newRow("ssoft 1, mysoft empty") << qint16(0) << qint16(0) << qint16(1) << QString() << L{};
        QTest::newRow("all on, mysoft empty")
            << qint16(1) << qint16(1) << qint16(1) << QString() << L{u"news"_s, u"quotes"_s};
        QTest::newRow("mysoft set, ssoft 0") << qint16(0) << qint16(0) << qint16(0) << path << L{};
        QTest::newRow("value 2 is off") << qint16(2) << qint16(2) << qint16(2) << path << L{};
        QTest::newRow("value -1 is off") << qint16(-1) << qint16(-1) << qint16(-1) << path << L{};
        QTest::newRow("news 2, quotes 1") << qint16(2) << qint16(1) << qint16(0) << path << L{u"quotes"_s};
    }
    void autoOpenCombinations()
    {
        QFETCH(qint16, qqnews);
        QFETCH(qint16, flashweb);
        QFETCH(qint16, ssoft);
        QFETCH(QString, mysoft);
        QFETCH(QStringList, launches);

        Settings s = Settings::defaults();
        s.qqnews = qqnews;
        s.flashweb = flashweb;
        s.ssoft = ssoft;
        s.mysoft = mysoft;

        const SessionSchedule schedule(m_calendar);
        const TickResult r =
            schedule.tick(QDateTime(kWednesday, QTime(9, 20)), {u"Tickbell.wav"_s, 0}, s, true);
        QList<ScheduleEffect::Kind> kinds;
        QStringList launched;
        for (const ScheduleEffect& e : r.effects) {
            kinds << e.kind;
            if (e.kind == ScheduleEffect::Kind::Launch)
                launched << launchName(e.launch);
        }
        QCOMPARE(launched, launches);
        // The advice first, then the launches, then openall := 1 in any case.
        QCOMPARE(kinds.count(ScheduleEffect::Kind::MarkOpened), 1);
        QCOMPARE(kinds.last(), ScheduleEffect::Kind::MarkOpened);
        if (!launches.isEmpty())
            QVERIFY(kinds.indexOf(ScheduleEffect::Kind::SetAdvice) <
                    kinds.indexOf(ScheduleEffect::Kind::Launch));

        // With openall already 1 the same auction launches nothing.
        const TickResult again =
            schedule.tick(QDateTime(kWednesday, QTime(12, 50)), {u"中午休盘时间.WAV"_s, 1}, s, true);
        for (const ScheduleEffect& e : again.effects) {
            QVERIFY(e.kind != ScheduleEffect::Kind::Launch);
            QVERIFY(e.kind != ScheduleEffect::Kind::MarkOpened);
        }
    }

    void shutdownAtClose_data()
    {
        QTest::addColumn<qint16>("shutdown15");
        QTest::addColumn<QStringList>("launches");
        QTest::newRow("shutdown15 1") << qint16(1) << QStringList{u"15:00:08 shutdown"_s};
        QTest::newRow("shutdown15 0") << qint16(0) << QStringList();
        QTest::newRow("shutdown15 2") << qint16(2) << QStringList();
    }
    void shutdownAtClose()
    {
        QFETCH(qint16, shutdown15);
        QFETCH(QStringList, launches);
        for (const bool autoexit : {true, false}) {
            Settings s = Settings::defaults();
            s.shutdown15 = shutdown15;
            Day m(m_calendar, s, autoexit);
            m.run(QDateTime(kWednesday, QTime(14, 59)), QDateTime(kWednesday, QTime(15, 10)));
            QCOMPARE(m.launches, launches);
        }
        // Not on weekends or holidays.
        for (const QDate day : {kSaturday, kSundayBeforeHoliday, kListedHoliday}) {
            Settings s = Settings::defaults();
            s.shutdown15 = shutdown15;
            Day m(m_calendar, s, true);
            m.run(QDateTime(day, QTime(14, 59)), QDateTime(day, QTime(15, 1)));
            QVERIFY(m.launches.isEmpty());
        }
    }

    void shutdownNeedsATickWithinItsSecond()
    {
        Settings s = Settings::defaults();
        s.shutdown15 = 1;
        Day m(m_calendar, s, true);
        m.tick(QDateTime(kWednesday, QTime(15, 0, 7)));
        m.tick(QDateTime(kWednesday, QTime(15, 0, 9)));
        QVERIFY(m.launches.isEmpty());
        // Any moment within 15:00:08 counts.
        m.tick(QDateTime(kWednesday, QTime(15, 0, 8, 950)));
        QCOMPARE(m.launches, QStringList{u"15:00:08 shutdown"_s});
    }

    // Timer4 after the close: armed by the schedule, one title a second, the end on its
    // sixteenth tick; unchecking 收盘后退出软件 cancels it and checking it again starts afresh.
    void afterTheClose_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<qint16>("shutdown15");
        QTest::addColumn<QTime>("uncheckAt"); // invalid: stays checked
        QTest::addColumn<QTime>("recheckAt");
        QTest::addColumn<QStringList>("events");

        // "15:00:01  15 秒后自动退出 ... ": the time, then the title as the day told it.
        const auto title = [](const char* time, const QString& text) -> QString {
            return QString::fromLatin1(time) + u' ' + text;
        };
        const QDateTime closing(kWednesday, QTime(14, 59, 58));
        QTest::newRow("close, shutdown tool, end")
            << closing << qint16(1) << QTime() << QTime()
            << QStringList{u"15:00:00 armed"_s, title("15:00:01", secondsLeftTitle(15)),
                           u"15:00:08 shutdown"_s, title("15:00:15", secondsLeftTitle(1)),
                           u"15:00:16 exit"_s};
        QTest::newRow("Saturday start")
            << QDateTime(kSaturday, QTime(10, 0)) << qint16(0) << QTime() << QTime()
            << QStringList{u"10:00:00 armed"_s, title("10:00:01", secondsLeftTitle(15)),
                           title("10:00:15", secondsLeftTitle(1)), u"10:00:16 exit"_s};
        QTest::newRow("unchecked all along")
            << closing << qint16(0) << QTime(14, 0) << QTime() << QStringList();
        QTest::newRow("cancelled at 7, checked again")
            << closing << qint16(0) << QTime(15, 0, 9) << QTime(15, 0, 20)
            << QStringList{u"15:00:00 armed"_s,
                           title("15:00:01", secondsLeftTitle(15)),
                           title("15:00:09", restoredTitle(Version)),
                           u"15:00:20 armed"_s,
                           title("15:00:21", secondsLeftTitle(15)),
                           title("15:00:35", secondsLeftTitle(1)),
                           u"15:00:36 exit"_s};
    }
    void afterTheClose()
    {
        QFETCH(QDateTime, start);
        QFETCH(qint16, shutdown15);
        QFETCH(QTime, uncheckAt);
        QFETCH(QTime, recheckAt);
        QFETCH(QStringList, events);

        Settings s = Settings::defaults();
        s.shutdown15 = shutdown15;
        Day m(m_calendar, s, true);
        QStringList between; // the seconds from 14 down to 2, left out of the events
        for (int left = 14; left >= 2; --left)
            between << secondsLeftTitle(left);
        QStringList seen;
        const auto note = [&](const QDateTime& now, const QString& what) {
            seen << now.time().toString(u"HH:mm:ss"_s) + u' ' + what;
        };
        for (QDateTime now = start; now < start.addSecs(60) && m.exits == 0; now = now.addSecs(1)) {
            if (uncheckAt.isValid() && now.time() >= uncheckAt)
                m.day.setAutoExit(recheckAt.isValid() && now.time() >= recheckAt);
            // Timer4, armed in an earlier second, ticks before Timer1.
            const qsizetype titlesBefore = m.titles.size();
            if (m.day.countdownTimer().isActive())
                m.day.countdownTick();
            if (m.exits) {
                note(now, u"exit"_s);
                break;
            }
            const bool wasRunning = m.day.countdownTimer().isActive();
            const Day::Tick t = m.tick(now);
            if (t.armed && !wasRunning)
                note(now, u"armed"_s);
            for (const QString& l : t.launches)
                note(now, l);
            for (const QString& title : m.titles.mid(titlesBefore)) {
                if (!between.contains(title))
                    note(now, title);
            }
        }
        QCOMPARE(seen, events);
    }

    // Enabling a timer that already runs keeps its rhythm: the second prompt, the schedule's
    // arming every second and a second picture all leave the first deadline where it was.
    void enabledAgainKeepsItsRhythm_data()
    {
        QTest::addColumn<QString>("timer");
        QTest::newRow("Timer2, a second picture") << u"Timer2"_s;
        QTest::newRow("Timer3, a second prompt") << u"Timer3"_s;
        QTest::newRow("Timer4, armed again") << u"Timer4"_s;
    }
    void enabledAgainKeepsItsRhythm()
    {
        QFETCH(QString, timer);
        Day m(m_calendar, allLaunchesOn(), true);
        const auto* watched = m.day.findChild<QTimer*>(timer);
        QVERIFY(watched);
        const QList<std::function<void()>> enable = {
            [&] {
                m.day.pictureClick(timer == u"Timer2" ? LaunchTarget::NewsPage : LaunchTarget::QuotesPage);
            },
            [&] { m.day.playsound(); },
            [&] { m.tick(QDateTime(kSaturday, QTime(10, 0))); },
        };
        for (const auto& act : enable)
            act();
        QVERIFY(watched->isActive());
        const int first = watched->remainingTime();
        QThread::msleep(200); // no events run: the timer cannot fire meanwhile
        for (const auto& act : enable)
            act();
        QVERIFY(watched->isActive());
        QVERIFY2(watched->remainingTime() <= first - 150,
                 qPrintable(u"%1 then %2"_s.arg(first).arg(watched->remainingTime())));
    }

    // The start of a run: version and title, the welcome heard and its close armed, the settings
    // read from config.txt. It depends on no time: inside the auction nothing is launched and the
    // status waits for the first tick.
    void startAnnouncesTheRun()
    {
        Day d(m_calendar, allLaunchesOn(), true, QDateTime(kFriday, QTime(9, 25)));
        QCOMPARE(d.day.title(), StartTitle);
        QCOMPARE(d.day.SoftVer1, Version);
        QCOMPARE(d.day.openall, qint16(0));
        QCOMPARE(d.day.c2exit, qint16(16));
        QCOMPARE(d.day.playok, u"Tickbell.wav"_s);
        QCOMPARE(d.audio.played, QStringList{u"/opt/tickbell/sound/Tickbell.wav"_s});
        QVERIFY(d.day.promptTimer().isActive());
        QVERIFY(!d.day.coolDownTimer().isActive());
        QVERIFY(!d.day.countdownTimer().isActive());
        QCOMPARE(d.day.settings().mysoft, allLaunchesOn().mysoft);
        QCOMPARE(d.day.settings().ssoft, qint16(1));
        QVERIFY(d.launcher.launches.isEmpty());
        QCOMPARE(d.day.status(), u"Tickbell"_s);
        QCOMPARE(d.day.advice(), AdviceW);
    }

    // Timer3 ends a prompt: the sound device is closed and the timer stops.
    void promptClosed()
    {
        Day d(m_calendar, Settings::defaults(), true);
        QVERIFY(!d.audio.open.isEmpty());
        d.day.closePrompt();
        QCOMPARE(d.audio.closes, 1);
        QVERIFY(d.audio.open.isEmpty());
        QVERIFY(!d.day.promptTimer().isActive());
    }

    // With the voice off the day goes on unheard: the prompt is told but not played and nothing
    // waits to close it. Turned on inside the same window it is not repeated; the next is heard.
    void voiceOff()
    {
        Day m(m_calendar, Settings::defaults(), true);
        m.day.closePrompt();
        m.audio.played.clear();
        QList<bool> heard;
        QObject::connect(&m.day, &TradingDay::promptRequested, [&](const QString&, bool h) { heard << h; });
        m.day.setVoice(false);

        const Day::Tick keyPoint = m.tick(QDateTime(kFriday, QTime(9, 40)));
        QCOMPARE(keyPoint.prompts, QStringList{u"盘中关键时间点1.wav"_s});
        QCOMPARE(keyPoint.status, KeyPoint);
        QCOMPARE(keyPoint.advice, AdviceC);
        QVERIFY(m.audio.played.isEmpty());
        QVERIFY(!m.day.promptTimer().isActive());

        m.day.setVoice(true);
        m.tick(QDateTime(kFriday, QTime(9, 40, 20)));
        QVERIFY(m.audio.played.isEmpty());
        QVERIFY(!m.day.promptTimer().isActive());
        m.tick(QDateTime(kFriday, QTime(10, 30)));
        QCOMPARE(m.audio.played, QStringList{u"/opt/tickbell/sound/盘中关键时间点.wav"_s});
        QVERIFY(m.day.promptTimer().isActive());
        QCOMPARE(heard, (QList<bool>{false, true}));
    }

    // The automatic launches are the hidden buttons' clicks: the cool-down runs and no picture
    // sinks. The quick shutdown at the close is the Tools menu's item: no cool-down.
    void automaticLaunchesAndTheCoolDown()
    {
        Settings s = allLaunchesOn();
        s.shutdown15 = 1;
        Day m(m_calendar, s, true);
        int sunk = 0;
        QObject::connect(&m.day, &TradingDay::pictureDown, [&] { ++sunk; });
        m.tick(QDateTime(kWednesday, QTime(9, 20)));
        QCOMPARE(m.launcher.launches.size(), 3);
        QVERIFY(m.day.coolDownTimer().isActive());
        m.day.liftPictures();
        m.tick(QDateTime(kWednesday, QTime(15, 0, 8)));
        QCOMPARE(m.launches.last(), u"15:00:08 shutdown"_s);
        QVERIFY(!m.day.coolDownTimer().isActive());
        QCOMPARE(sunk, 0);
    }

    // The trading program before its path is set: the window is asked to say so and nothing
    // starts. The picture is down and told so before the ask, so that a message box still open
    // when the cool-down ends cannot leave it down.
    void tradingProgramNotSet()
    {
        Day m(m_calendar, Settings::defaults(), true);
        QStringList told;
        QObject::connect(&m.day, &TradingDay::pictureDown, [&] { told << u"down"_s; });
        QObject::connect(&m.day, &TradingDay::programPathNeeded, [&] {
            told << (m.day.isPictureDown(LaunchTarget::TradingProgram) ? u"ask, down"_s : u"ask"_s);
        });
        m.day.runCommand(LaunchTarget::TradingProgram);
        QVERIFY(m.day.coolDownTimer().isActive());
        m.day.liftPictures();
        m.day.pictureClick(LaunchTarget::TradingProgram);
        QCOMPARE(told, (QStringList{u"ask"_s, u"down"_s, u"ask, down"_s}));
        QVERIFY(m.launcher.launches.isEmpty());
    }

    // A picture acts only at rest; the cool-down lifts every picture at once.
    void picturesCoolDown()
    {
        Day m(m_calendar, allLaunchesOn(), true);
        QList<LaunchTarget> down;
        QObject::connect(&m.day, &TradingDay::pictureDown, [&](LaunchTarget t) { down << t; });
        int lifted = 0;
        QObject::connect(&m.day, &TradingDay::picturesUp, [&] { ++lifted; });
        m.day.pictureClick(LaunchTarget::NewsPage);
        m.day.pictureClick(LaunchTarget::NewsPage);
        m.day.pictureClick(LaunchTarget::TradingProgram);
        QCOMPARE(down, (QList<LaunchTarget>{LaunchTarget::NewsPage, LaunchTarget::TradingProgram}));
        QCOMPARE(m.launcher.launches.size(), 2);
        m.day.runCommand(LaunchTarget::NewsPage); // the hidden button has no picture to wait for
        QCOMPARE(m.launcher.launches.size(), 3);
        m.day.liftPictures();
        QCOMPARE(lifted, 1);
        QVERIFY(!m.day.coolDownTimer().isActive());
        QVERIFY(!m.day.isPictureDown(LaunchTarget::NewsPage));
        m.day.pictureClick(LaunchTarget::NewsPage);
        QCOMPARE(m.launcher.launches.size(), 4);
    }

    // The exchanges' hours are Beijing's: a computer in another zone hears the auction at its own
    // 2:20 in a Berlin winter, sees the weekend begin at 16:00 UTC, and shuts down at 7:00:08 UTC.
    void awayFromChina_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QDateTime>("local"); // in that zone
        QTest::addColumn<QString>("clockLine");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("events"); // prompts and launches
        QTest::newRow("Berlin winter, the auction")
            << u"Europe/Berlin"_s << QDateTime(kFriday, QTime(2, 20))
            << u"2010年2月12日 2:20:00 北京时间 9:20:00"_s << NotOpen
            << QStringList{u"机构竞价.wav"_s, u"news"_s, u"quotes"_s, u"trading"_s};
        QTest::newRow("Berlin summer, the auction")
            << u"Europe/Berlin"_s << QDateTime(QDate(2010, 6, 11), QTime(3, 20))
            << u"2010年6月11日 3:20:00 北京时间 9:20:00"_s << NotOpen
            << QStringList{u"机构竞价.wav"_s, u"news"_s, u"quotes"_s, u"trading"_s};
        QTest::newRow("Berlin 9:20 is Beijing's afternoon")
            << u"Europe/Berlin"_s << QDateTime(kFriday, QTime(9, 20))
            << u"2010年2月12日 9:20:00 北京时间 16:20:00"_s << Closed << QStringList();
        QTest::newRow("UTC, the shutdown at the close")
            << u"UTC"_s << QDateTime(kWednesday, QTime(7, 0, 8))
            << u"2010年2月10日 7:00:08 北京时间 15:00:08"_s << Closed
            << QStringList{u"今天已收盘.wav"_s, u"shutdown"_s};
        QTest::newRow("UTC Friday evening is Beijing's Saturday")
            << u"UTC"_s << QDateTime(kFriday, QTime(16, 30)) << u"2010年2月12日 16:30:00 北京时间 0:30:00"_s
            << SaturdayStatus << QStringList();
        QTest::newRow("Shanghai: no second clock")
            << u"Asia/Shanghai"_s << QDateTime(kFriday, QTime(9, 20)) << u"2010年2月12日 9:20:00"_s << NotOpen
            << QStringList{u"机构竞价.wav"_s, u"news"_s, u"quotes"_s, u"trading"_s};
    }
    void awayFromChina()
    {
        QFETCH(QString, zone);
        QFETCH(QDateTime, local);
        QFETCH(QString, clockLine);
        QFETCH(QString, status);
        QFETCH(QStringList, events);
        const QTimeZone tz(zone.toLatin1());
        if (!tz.isValid())
            QSKIP("this system does not know the zone");
        Settings s = allLaunchesOn();
        s.shutdown15 = 1;
        Day m(m_calendar, s, false);
        const Day::Tick t = m.tick(QDateTime(local.date(), local.time(), tz));
        QCOMPARE(t.clockLine, clockLine);
        QCOMPARE(t.status, status);
        QCOMPARE(t.prompts + t.launches, events);
    }

    // The notice that a year is not announced: at start-up, and again only when a running day
    // crosses into such a year; while it is read, the countdown waits.
    void calendarNotice()
    {
        TradingCalendar calendar;
        calendar.addClosedDays(u"2026-10-01\n"_s);
        Day m(calendar, Settings::defaults(), true);
        QStringList notices;
        QObject::connect(&m.day, &TradingDay::calendarNotice, [&](const QString& text) { notices << text; });
        m.clock.set(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)));
        m.day.checkCalendar();
        m.tick(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
        QVERIFY(notices.isEmpty());
        m.tick(QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0)));
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices[0].contains(u"2026"_s));
        m.tick(QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1)));
        m.tick(QDateTime(QDate(2027, 1, 2), QTime(10, 0, 0)));
        QCOMPARE(notices.size(), 1);

        // A holiday: the countdown is armed, but waits while the notice is open.
        QVERIFY(m.day.countdownTimer().isActive());
        m.day.holdCountdown();
        for (int i = 0; i < 20; ++i)
            m.day.countdownTick();
        QCOMPARE(m.exits, 0);
        QCOMPARE(m.day.c2exit, qint16(16));
        m.day.releaseCountdown();
        m.day.countdownTick();
        QCOMPARE(m.day.c2exit, qint16(15));
    }

    // A holidays file not read whole is told on the notice line (and so on --console): the
    // file, the lines skipped and the first of them, and where to check the days.
    void unreadHolidaysFileIsNoticed_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("says");
        QTest::newRow("seven lines of garbage") << false << u"有 7 行读不懂（第一处是第 2 行）"_s;
        QTest::newRow("a folder in its place") << true << u"读不出来"_s;
    }
    void unreadHolidaysFileIsNoticed()
    {
        QFETCH(bool, folder);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"holidays.txt"_s);
        if (folder) {
            QVERIFY(QDir().mkdir(path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(
                "# garbled\n2027-1-1\nx\n2027/01/04\n\xE5\x85\x83\xE6\x97\xA6\nopen\n20270105\n2027-01-06 shut\n");
        }
        TradingCalendar calendar;
        calendar.loadOwnDaysFile(path, systemCodePage());
        Day m(calendar, Settings::defaults(), true);
        QStringList notices;
        QObject::connect(&m.day, &TradingDay::calendarNotice, [&](const QString& text) { notices << text; });
        m.day.checkCalendar();
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices[0].contains(path) && notices[0].contains(says), qPrintable(notices[0]));
        QVERIFY(notices[0].contains(u"“交易日历”"_s));
    }

    // The composition root starts the day and its ticking; a second call changes neither.
    void startsOnceAndTicksOnce()
    {
        Day d(m_calendar, Settings::defaults(), true); // started once by the fixture
        const QStringList played = d.audio.played;
        d.day.start();
        QCOMPARE(d.audio.played, played);
        QVERIFY(!d.day.tickTimer().isActive());
        d.day.startTicking(800);
        QVERIFY(d.day.tickTimer().remainingTime() >= 750);
        d.day.startTicking(0);
        QVERIFY(d.day.tickTimer().remainingTime() >= 700);
        // And the second timer runs the tick.
        QSignalSpy ticks(&d.day, &TradingDay::clockChanged);
        QVERIFY(ticks.wait(5000));
    }

    void clockLine_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("line");
        QTest::newRow("example") << QDateTime(QDate(2009, 9, 22), QTime(9, 30, 5))
                                 << u"2009年9月22日 9:30:05"_s;
        QTest::newRow("two-digit month, day and hour")
            << QDateTime(QDate(2010, 12, 31), QTime(23, 59, 59)) << u"2010年12月31日 23:59:59"_s;
        QTest::newRow("midnight") << QDateTime(QDate(2010, 1, 1), QTime(0, 0)) << u"2010年1月1日 0:00:00"_s;
        QTest::newRow("milliseconds dropped")
            << QDateTime(QDate(2010, 2, 12), QTime(15, 0, 8, 999)) << u"2010年2月12日 15:00:08"_s;
    }
    void clockLine()
    {
        QFETCH(QDateTime, now);
        QFETCH(QString, line);
        QCOMPARE(SessionSchedule::clockLine(now), line);
        // Every tick carries it, whatever the day.
        const SessionSchedule schedule(m_calendar);
        QCOMPARE(schedule.tick(now, {}, Settings::defaults(), true).clockLine, line);
    }

    void clockLineOnNonTradingDays()
    {
        const SessionSchedule schedule(m_calendar);
        QCOMPARE(
            schedule.tick(QDateTime(kSaturday, QTime(10, 0, 1)), {}, Settings::defaults(), false).clockLine,
            u"2010年2月13日 10:00:01"_s);
        QCOMPARE(
            schedule.tick(QDateTime(kListedHoliday, QTime(9, 5)), {}, Settings::defaults(), false).clockLine,
            u"2010年2月15日 9:05:00"_s);
    }
};

QTEST_GUILESS_MAIN(TestTradingDay)
#include "tst_trading_day.moc"
