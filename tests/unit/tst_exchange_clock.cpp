// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/second_timer.h"
#include "core/time/exchange_clock.h"
#include "platform/dummy/dummy_services.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

class TestExchangeClock : public QObject {
    Q_OBJECT

private slots:
    void offsetMovesTheMoment_data()
    {
        QTest::addColumn<QDateTime>("computer");
        QTest::addColumn<qint64>("offsetMs");
        QTest::addColumn<QDateTime>("corrected");
        QTest::addColumn<QDateTime>("beijing");
        const QTimeZone china(8 * 3600); // no daylight saving
        QTest::newRow("into the next day")
            << QDateTime(QDate(2010, 2, 11), QTime(23, 59, 58, 700), china) << qint64(2500)
            << QDateTime(QDate(2010, 2, 12), QTime(0, 0, 1, 200), china)
            << QDateTime(QDate(2010, 2, 12), QTime(0, 0, 1, 200), china);
        QTest::newRow("back into the day before")
            << QDateTime(QDate(2010, 2, 12), QTime(0, 0, 0, 300), china) << qint64(-1500)
            << QDateTime(QDate(2010, 2, 11), QTime(23, 59, 58, 800), china)
            << QDateTime(QDate(2010, 2, 11), QTime(23, 59, 58, 800), china);
        // New York springs forward at 2:00 (EST to EDT): the corrected clock is an hour on.
        const QTimeZone newYork("America/New_York");
        if (!newYork.isValid()) {
            qInfo("no America/New_York here: the daylight-saving row is left out");
            return;
        }
        QTest::newRow("across a daylight-saving change")
            << QDateTime(QDate(2027, 3, 14), QTime(1, 59, 59), newYork) << qint64(2500)
            << QDateTime(QDate(2027, 3, 14), QTime(3, 0, 1, 500), newYork)
            << QDateTime(QDate(2027, 3, 14), QTime(15, 0, 1, 500), china);
    }
    void offsetMovesTheMoment()
    {
        QFETCH(QDateTime, computer);
        QFETCH(qint64, offsetMs);
        QFETCH(QDateTime, corrected);
        QFETCH(QDateTime, beijing);
        DummyClock clock(computer);
        ExchangeClock exchange(clock);
        exchange.setOffsetMs(offsetMs);
        QCOMPARE(exchange.now(), corrected);
        // The same zone as the computer's, and the exchanges' clock face in Beijing.
        QCOMPARE(exchange.now().toString(Qt::ISODateWithMs), corrected.toString(Qt::ISODateWithMs));
        QCOMPARE(exchange.beijingNow().toString(Qt::ISODateWithMs), beijing.toString(Qt::ISODateWithMs));
    }

    // The second tick follows a new offset: it lands on the corrected clock's second start, and
    // a second the clock jumped into is told at once.
    void secondTimerFollowsTheOffset_data()
    {
        QTest::addColumn<qint64>("offsetMs");
        QTest::addColumn<int>("remainingMs");
        QTest::newRow("within the second") << qint64(200) << 500;
        QTest::newRow("into the next second") << qint64(2500) << 0;
    }
    void secondTimerFollowsTheOffset()
    {
        QFETCH(qint64, offsetMs);
        QFETCH(int, remainingMs);
        DummyClock clock(QDateTime(QDate(2010, 2, 12), QTime(9, 19, 57, 300)));
        ExchangeClock exchange(clock);
        SecondTimer timer(exchange);
        connect(&exchange, &ExchangeClock::offsetChanged, &timer, &SecondTimer::clockMoved);
        QSignalSpy ticks(&timer, &SecondTimer::second);
        timer.start();
        clock.set(QDateTime(QDate(2010, 2, 12), QTime(9, 19, 58, 0)));
        QVERIFY(ticks.wait(5000)); // 09:19:58 told
        clock.set(QDateTime(QDate(2010, 2, 12), QTime(9, 19, 58, 300)));
        exchange.setOffsetMs(offsetMs);
        const int remaining = timer.remainingTime();
        QVERIFY2(remaining <= remainingMs && remaining + 50 >= remainingMs,
                 qPrintable(QString::number(remaining)));
    }
};

QTEST_GUILESS_MAIN(TestExchangeClock)
#include "tst_exchange_clock.moc"
