// SPDX-License-Identifier: GPL-3.0-or-later
#include "reminder/countdown.h"
#include "reminder/session_schedule.h"
#include "reminder/trading_calendar.h"
#include "settings/settings.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Action = CountdownStep::Action;

QString secondsLeftTitle(int seconds)
{
    return u" "_s + QString::number(seconds) + u" 秒后自动退出 ... "_s;
}

// Timer4 as the main window runs it: enabled by the schedule, ticking once a second, and
// left alone when enabled again while it runs.
struct Timer4Model {
    bool running = false;
    qint16 c2exit = 16;
    QString title = u"Tickbellv1.32 - Orro SOFT"_s;
    bool exited = false;

    void enable() { running = true; }
    void tick(bool autoexit)
    {
        if (!running || exited)
            return;
        const CountdownStep step = countdownTick(autoexit, c2exit, u"1.32"_s);
        switch (step.action) {
        case Action::ShowTitle: title = step.title; break;
        case Action::Exit: exited = true; break;
        case Action::Cancel:
            title = step.title;
            running = false;
            break;
        }
    }
};

} // namespace

class TestCountdown : public QObject {
    Q_OBJECT

private slots:
    void titles_data()
    {
        QTest::addColumn<int>("tick");
        QTest::addColumn<QString>("title");
        QTest::newRow("first tick") << 1 << u" 15 秒后自动退出 ... "_s;
        QTest::newRow("second tick") << 2 << u" 14 秒后自动退出 ... "_s;
        QTest::newRow("last two-digit") << 6 << u" 10 秒后自动退出 ... "_s;
        QTest::newRow("nine, not 09") << 7 << u" 9 秒后自动退出 ... "_s;
        QTest::newRow("seven") << 9 << u" 7 秒后自动退出 ... "_s;
        QTest::newRow("fifteenth tick") << 15 << u" 1 秒后自动退出 ... "_s;
    }
    void titles()
    {
        QFETCH(int, tick);
        QFETCH(QString, title);
        qint16 c2exit = 16;
        CountdownStep step{Action::Exit, {}};
        for (int i = 0; i < tick; ++i)
            step = countdownTick(true, c2exit, u"1.32"_s);
        QCOMPARE(step.action, Action::ShowTitle);
        QCOMPARE(step.title, title);
        QCOMPARE(int(c2exit), 16 - tick);
    }

    void countsFifteenDownToOneThenExits()
    {
        qint16 c2exit = 16;
        for (int left = 15; left >= 1; --left) {
            const CountdownStep step = countdownTick(true, c2exit, u"1.32"_s);
            QCOMPARE(step.action, Action::ShowTitle);
            QCOMPARE(step.title, secondsLeftTitle(left));
        }
        const CountdownStep last = countdownTick(true, c2exit, u"1.32"_s);
        QCOMPARE(last.action, Action::Exit);
        QCOMPARE(c2exit, qint16(0));
    }

    void cancel_data()
    {
        QTest::addColumn<int>("ticksBefore");
        QTest::addColumn<QString>("SoftVer1");
        QTest::addColumn<QString>("title");
        QTest::newRow("at rest") << 0 << u"1.32"_s << u"OrroTickbellv1.32 - Orro SOFT"_s;
        QTest::newRow("showing 7") << 9 << u"1.32"_s << u"OrroTickbellv1.32 - Orro SOFT"_s;
        QTest::newRow("showing 1") << 15 << u"1.32"_s << u"OrroTickbellv1.32 - Orro SOFT"_s;
        QTest::newRow("another version") << 3 << u"2.5"_s << u"OrroTickbellv2.5 - Orro SOFT"_s;
    }
    void cancel()
    {
        QFETCH(int, ticksBefore);
        QFETCH(QString, SoftVer1);
        QFETCH(QString, title);
        qint16 c2exit = 16;
        for (int i = 0; i < ticksBefore; ++i)
            QCOMPARE(countdownTick(true, c2exit, SoftVer1).action, Action::ShowTitle);
        const CountdownStep step = countdownTick(false, c2exit, SoftVer1);
        QCOMPARE(step.action, Action::Cancel);
        QCOMPARE(step.title, title);
        QCOMPARE(c2exit, qint16(16));
        QCOMPARE(cancelledTitle(SoftVer1), title);
    }

    void rearmCountsFromFifteenAgain()
    {
        Timer4Model timer;
        timer.enable();
        for (int i = 0; i < 9; ++i)
            timer.tick(true);
        QCOMPARE(timer.title, secondsLeftTitle(7));
        timer.tick(false); // autoexit unchecked
        QVERIFY(!timer.running);
        QCOMPARE(timer.title, u"OrroTickbellv1.32 - Orro SOFT"_s);
        QCOMPARE(timer.c2exit, qint16(16));
        timer.enable(); // checked again: the next schedule tick arms it
        timer.tick(true);
        QCOMPARE(timer.title, secondsLeftTitle(15));
        for (int i = 0; i < 14; ++i)
            timer.tick(true);
        QCOMPARE(timer.title, secondsLeftTitle(1));
        QVERIFY(!timer.exited);
        timer.tick(true);
        QVERIFY(timer.exited);
    }

    // The afternoon close with auto-exit and shutdown15: armed at 15:00:00, the shutdown tool
    // at 15:00:08, the end at 15:00:16 (the schedule enables Timer4 every second meanwhile).
    void afternoonCloseEndsTheProgram()
    {
        const TradingCalendar calendar;
        const SessionSchedule schedule(calendar);
        Settings settings = Settings::defaults();
        settings.shutdown15 = 1;
        ScheduleMemory memory{u"5分钟后收盘.wav"_s, 1};
        Timer4Model timer;
        QStringList events;
        QDateTime now(QDate(2010, 2, 10), QTime(14, 59, 58));
        for (; !timer.exited && now < QDateTime(QDate(2010, 2, 10), QTime(15, 1)); now = now.addSecs(1)) {
            // Timer4 armed in an earlier second ticks first; its relative order is free.
            timer.tick(true);
            if (timer.exited)
                break;
            const TickResult r = schedule.tick(now, memory, settings, true);
            for (const ScheduleEffect& e : r.effects) {
                if (e.kind == ScheduleEffect::Kind::RequestPrompt)
                    memory.playok = e.text;
                if (e.kind == ScheduleEffect::Kind::ArmCountdown) {
                    if (!timer.running)
                        events << now.time().toString(u"HH:mm:ss"_s) + u" armed"_s;
                    timer.enable();
                }
                if (e.kind == ScheduleEffect::Kind::Launch)
                    events << now.time().toString(u"HH:mm:ss"_s) + u" launch"_s;
            }
            if (now.time() == QTime(15, 0, 7))
                QCOMPARE(timer.title, secondsLeftTitle(9));
        }
        events << now.time().toString(u"HH:mm:ss"_s) + u" exit"_s;
        QCOMPARE(events, QStringList({u"15:00:00 armed"_s, u"15:00:08 launch"_s, u"15:00:16 exit"_s}));
    }

    void saturdayStartEndsAfterSixteenTicks()
    {
        const TradingCalendar calendar;
        const SessionSchedule schedule(calendar);
        Timer4Model timer;
        int seconds = 0;
        const QDateTime start(QDate(2010, 2, 13), QTime(10, 0));
        for (; seconds < 60 && !timer.exited; ++seconds) {
            timer.tick(true);
            if (timer.exited)
                break;
            const TickResult r =
                schedule.tick(start.addSecs(seconds), {u"Tickbell.wav"_s, 0}, Settings::defaults(), true);
            for (const ScheduleEffect& e : r.effects) {
                if (e.kind == ScheduleEffect::Kind::ArmCountdown)
                    timer.enable();
            }
            if (seconds == 1)
                QCOMPARE(timer.title, secondsLeftTitle(15));
        }
        QCOMPARE(seconds, 16);
    }

    void uncheckedFromTheStartNeverChangesTheTitle()
    {
        const TradingCalendar calendar;
        const SessionSchedule schedule(calendar);
        Timer4Model timer;
        const QString before = timer.title;
        for (int s = 0; s < 60; ++s) {
            const TickResult r = schedule.tick(QDateTime(QDate(2010, 2, 10), QTime(15, 0).addSecs(s)),
                                               {u"Tickbell.wav"_s, 0}, Settings::defaults(), false);
            for (const ScheduleEffect& e : r.effects)
                QVERIFY(e.kind != ScheduleEffect::Kind::ArmCountdown);
            timer.tick(false);
        }
        QVERIFY(!timer.running);
        QCOMPARE(timer.title, before);
    }
};

QTEST_GUILESS_MAIN(TestCountdown)
#include "tst_countdown.moc"
