// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/key_moments.h"

#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

class TestKeyMoments : public QObject {
    Q_OBJECT

private slots:
    void next_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("at");
        QTest::addColumn<QString>("name");
        const QDate wednesday(2010, 2, 10);
        QTest::newRow("early morning") << QDateTime(wednesday, QTime(8, 0))
                                       << QDateTime(wednesday, QTime(9, 15)) << u"开盘集合竞价开始"_s;
        QTest::newRow("on the moment, the next one")
            << QDateTime(wednesday, QTime(9, 15)) << QDateTime(wednesday, QTime(9, 20))
            << u"集合竞价不能再撤单"_s;
        QTest::newRow("a millisecond before") << QDateTime(wednesday, QTime(14, 56, 59, 999))
                                              << QDateTime(wednesday, QTime(14, 57)) << u"收盘集合竞价开始"_s;
        QTest::newRow("midday break")
            << QDateTime(wednesday, QTime(11, 30)) << QDateTime(wednesday, QTime(12, 50)) << u"机构竞价"_s;
        // Beijing's 9:20 is New York's 20:20 the evening before (EST): the next moment is Beijing's.
        QTest::newRow("from New York") << QDateTime(QDate(2010, 2, 9), QTime(20, 20), QTimeZone(-5 * 3600))
                                       << QDateTime(wednesday, QTime(9, 25)) << u"开盘集合竞价撮合"_s;
        // Friday's close, then a weekend and the Spring Festival week.
        QTest::newRow("past weekend and holidays")
            << QDateTime(QDate(2010, 2, 12), QTime(15, 0)) << QDateTime(QDate(2010, 2, 22), QTime(9, 15))
            << u"开盘集合竞价开始"_s;
    }
    void next()
    {
        QFETCH(QDateTime, now);
        const TradingCalendar calendar;
        const KeyMoment m = nextKeyMoment(now, calendar);
        QTEST(m.at, "at");
        QTEST(m.name, "name");
    }
};

QTEST_GUILESS_MAIN(TestKeyMoments)
#include "tst_key_moments.moc"
