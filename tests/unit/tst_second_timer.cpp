// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/second_timer.h"
#include "platform/dummy/dummy_services.h"

#include <QSignalSpy>
#include <QTest>

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
        // Armed for 09:30:00.000 of the given clock, and never timing out before (the remaining
        // time is rounded down to the millisecond).
        QVERIFY2(remaining + spent + 1 >= 1000 - msPastSecond && remaining <= 1000 - msPastSecond + 20,
                 qPrintable(u"%1 ms after %2 ms"_s.arg(remaining).arg(spent)));
        QSignalSpy spy(&timer, &SecondTimer::timeout);
        QVERIFY(spy.wait(10000));
        const qint64 waited = elapsed.elapsed();
        // Whole milliseconds on both sides: a timer may land within the millisecond before (Windows).
        QVERIFY2(waited + 1 >= 1000 - msPastSecond, qPrintable(QString::number(waited)));
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
        const int remaining = timer.remainingTime();
        const qint64 spent = elapsed.elapsed(); // however long a busy machine kept us from asking
        QVERIFY2(remaining + spent + 1 >= expected && remaining <= expected + 20,
                 qPrintable(u"%1 ms after %2 ms"_s.arg(remaining).arg(spent)));
    }

    void onceASecondEvenWhenWokenTwice()
    {
        // The fake clock stands still: every wake-up after the first falls in the same second.
        DummyClock clock(QDateTime(QDate(2010, 2, 10), QTime(9, 30, 0, 990)));
        SecondTimer timer(clock);
        QSignalSpy spy(&timer, &SecondTimer::timeout);
        timer.start();
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 1, 10000);
        QTest::qWait(100); // it re-arms every ~10 ms here and must stay silent
        QCOMPARE(spy.size(), 1);
        clock.advance(1);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, 10000);
        QTest::qWait(60);
        QCOMPARE(spy.size(), 2);
    }

    void clockSteppingBackStillTicks()
    {
        DummyClock clock(QDateTime(QDate(2010, 2, 10), QTime(15, 0, 8, 995)));
        SecondTimer timer(clock);
        QSignalSpy spy(&timer, &SecondTimer::timeout);
        timer.start();
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 1, 10000);
        clock.advance(-3600); // the user corrects the clock by an hour
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, 10000);
    }

    void stopStops()
    {
        DummyClock clock(QDateTime(QDate(2010, 2, 10), QTime(10, 0, 0, 990)));
        SecondTimer timer(clock);
        QSignalSpy spy(&timer, &SecondTimer::timeout);
        timer.start();
        timer.stop();
        QVERIFY(!timer.isActive());
        QTest::qWait(50);
        QCOMPARE(spy.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSecondTimer)
#include "tst_second_timer.moc"
