// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/second_timer.h"
#include "platform/dummy/dummy_services.h"

#include <QSignalSpy>
#include <QTest>

#include <utility>

using namespace Qt::StringLiterals;

// The schedule's timer must tick once in every wall-clock second, shortly after it begins.
class TestSecondTimer : public QObject {
    Q_OBJECT

private slots:
    void armsForTheNextSecondStart_data()
    {
        QTest::addColumn<int>("msPastSecond");
        QTest::newRow("just after a second") << 5;
        QTest::newRow("mid-second") << 500;
        QTest::newRow("just before the next") << 995;
    }

    void armsForTheNextSecondStart()
    {
        QFETCH(int, msPastSecond);
        DummyClock clock(QDateTime(QDate(2010, 2, 10), QTime(9, 29, 59, msPastSecond)));
        SecondTimer timer(clock);
        QElapsedTimer elapsed;
        elapsed.start();
        timer.start();
        const int remaining = timer.remainingTime();
        const qint64 spent = elapsed.elapsed(); // however long a busy machine kept us from asking
        QVERIFY(timer.isActive());
        // Armed for kEarlyMs before 09:30:00.000 of the given clock (the remaining time is
        // rounded down to the millisecond).
        const int aim = 1000 - msPastSecond - SecondTimer::kEarlyMs;
        QVERIFY2(remaining + spent + 1 >= aim && remaining <= aim + 20,
                 qPrintable(u"%1 ms after %2 ms"_s.arg(remaining).arg(spent)));
    }

    // Woken early on purpose, it reads the clock until the second begins: the first second told
    // is 09:30:00, not 09:29:59 (this clock moves a millisecond each time it is read).
    void wokenEarlyWaitsForTheSecond()
    {
        struct ReadClock final : Clock {
            mutable QDateTime t{QDate(2010, 2, 10), QTime(9, 29, 59, 997)};
            QDateTime now() const override { return std::exchange(t, t.addMSecs(1)); }
            qint64 steadyMs() const override { return t.toMSecsSinceEpoch(); }
        } clock;
        SecondTimer timer(clock);
        QSignalSpy spy(&timer, &SecondTimer::second);
        timer.start();
        QVERIFY(spy.wait(5000));
        QCOMPARE(spy.first().first().toDateTime().time(), QTime(9, 30));
    }

    void firstTickNotBefore_data()
    {
        QTest::addColumn<int>("msPastSecond");
        QTest::addColumn<int>("notBefore");
        QTest::addColumn<int>("expected"); // ms to the first timeout
        QTest::newRow("next second far enough") << 100 << 800 << 900;
        QTest::newRow("next second too near") << 500 << 800 << 1500;
        QTest::newRow("exactly far enough") << 200 << 800 << 800;
        QTest::newRow("no minimum") << 500 << 0 << 500;
    }

    void firstTickNotBefore()
    {
        QFETCH(int, msPastSecond);
        QFETCH(int, notBefore);
        QFETCH(int, expected);
        DummyClock clock(QDateTime(QDate(2010, 2, 10), QTime(9, 29, 59, msPastSecond)));
        SecondTimer timer(clock);
        QElapsedTimer elapsed;
        elapsed.start();
        timer.start(notBefore);
        // Lands on a second start, never before the minimum.
        const int remaining = timer.remainingTime() + SecondTimer::kEarlyMs;
        const qint64 spent = elapsed.elapsed(); // however long a busy machine kept us from asking
        QVERIFY2(remaining + spent + 1 >= expected && remaining <= expected + 20,
                 qPrintable(u"%1 ms after %2 ms"_s.arg(remaining).arg(spent)));
    }

    void onceASecondEvenWhenWokenTwice()
    {
        // The fake clock stands still: every wake-up after the first falls in the same second.
        DummyClock clock(QDateTime(QDate(2010, 2, 10), QTime(9, 30, 0, 990)));
        SecondTimer timer(clock);
        QSignalSpy spy(&timer, &SecondTimer::second);
        timer.start();
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 1, 10000);
        QTest::qWait(100); // it re-arms every ~10 ms here and must stay silent
        QCOMPARE(spy.size(), 1);
        clock.advance(1);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, 10000);
        QTest::qWait(60);
        QCOMPARE(spy.size(), 2);
    }

    // The clock moved after 10:00:00 was told, then went on second by second from where it
    // landed (each move seen as a set clock is, by clockMoved).
    void everySecondOnceInOrder_data()
    {
        QTest::addColumn<int>("stepMs");
        QTest::addColumn<int>("thenSeconds"); // seconds the clock then goes on
        QTest::addColumn<QList<QTime>>("told");
        QTest::newRow("back 3 s: nothing twice")
            << -3000 << 5 << QList{QTime(10, 0), QTime(10, 0, 1), QTime(10, 0, 2)};
        QTest::newRow("forward 2.5 s: each jumped over, in order")
            << 2500 << 0 << QList{QTime(10, 0), QTime(10, 0, 1), QTime(10, 0, 2), QTime(10, 0, 3)};
        QTest::newRow("forward 14 h: afresh")
            << 14 * 3600 * 1000 << 1 << QList{QTime(10, 0), QTime(0, 0), QTime(0, 0, 1)};
    }
    void everySecondOnceInOrder()
    {
        QFETCH(int, stepMs);
        QFETCH(int, thenSeconds);
        DummyClock clock(QDateTime(QDate(2010, 2, 10), QTime(10, 0, 0, 500)));
        SecondTimer timer(clock);
        QList<QTime> told;
        connect(&timer, &SecondTimer::second, this, [&](const QDateTime& at) { told << at.time(); });
        timer.start();
        QTRY_COMPARE_WITH_TIMEOUT(told.size(), 1, 5000);
        const auto moveTo = [&](const QDateTime& t) {
            clock.set(t);
            timer.clockMoved();
            QTest::qWait(30); // a second due is told at once; none due, none told
        };
        QDateTime t = clock.now().addMSecs(stepMs);
        moveTo(t);
        for (int i = 0; i < thenSeconds; ++i)
            moveTo(t = t.addSecs(1));
        QTEST(told, "told");
    }

    void stopStops()
    {
        DummyClock clock(QDateTime(QDate(2010, 2, 10), QTime(10, 0, 0, 990)));
        SecondTimer timer(clock);
        QSignalSpy spy(&timer, &SecondTimer::second);
        timer.start();
        timer.stop();
        QVERIFY(!timer.isActive());
        QTest::qWait(50);
        QCOMPARE(spy.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSecondTimer)
#include "tst_second_timer.moc"
