// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/time/exchange_clock.h"
#include "core/time/standard_time.h"
#include "fakes/fake_network_time.h"
#include "platform/dummy/dummy_services.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

ServerAnswer answer(qint64 offsetUs)
{
    return {u"s"_s, {}, ServerAnswer::Kind::Answered, offsetUs, 1'000, {}};
}
const QList<ServerAnswer> kSlow2500 = {answer(2'500'000), answer(2'500'300)};
const QList<ServerAnswer> kFast300 = {answer(-300'000), answer(-300'100)};
const QList<ServerAnswer> kSilent = {{u"s"_s, {}, ServerAnswer::Kind::Silent, 0, 0, {}}};
const QList<ServerAnswer> kDisagreeing = {answer(2'500'000), answer(6'200'000)};

// The keeper on a clock and a network the test drives.
struct Keeper {
    DummyClock computer{QDateTime(QDate(2010, 2, 12), QTime(9, 0))};
    ExchangeClock clock{computer};
    FakeNetworkTime net;
    FakeNetworkTime* network = &net;
    qint64 steadyMs = 0;
    StandardTime keeper{clock, &net, [] { return QStringList{u"127.0.0.1:1123"_s}; },
                        [this] { return steadyMs; }};
};

} // namespace

class TestStandardTime : public QObject {
    Q_OBJECT

private slots:
    // Measured, then measured again some hours on: a failure holds the last offset for six hours.
    void secondMeasurement_data()
    {
        QTest::addColumn<int>("hoursLater");
        QTest::addColumn<QList<ServerAnswer>>("then");
        QTest::addColumn<qint64>("offsetMs");
        QTest::addColumn<QString>("note");
        QTest::newRow("answered") << 1 << kFast300 << qint64(-300) << u"标准时间，本机快 0.3 秒"_s;
        QTest::newRow("silent, an hour on")
            << 1 << kSilent << qint64(2500) << u"未能对时，仍按上次：本机慢 2.5 秒"_s;
        QTest::newRow("disagreeing, an hour on")
            << 1 << kDisagreeing << qint64(2500) << u"服务器说法不一，仍按上次：本机慢 2.5 秒"_s;
        QTest::newRow("silent, seven hours on") << 7 << kSilent << qint64(0) << u"未能对时，按本机时间"_s;
    }
    void secondMeasurement()
    {
        QFETCH(int, hoursLater);
        QFETCH(QList<ServerAnswer>, then);
        Keeper k;
        k.keeper.setOn(true);
        k.network->answer(kSlow2500);
        k.computer.advance(hoursLater * 3600);
        k.steadyMs += hoursLater * 3'600'000;
        k.keeper.measure();
        k.network->answer(then);
        QTEST(k.clock.offsetMs(), "offsetMs");
        QTEST(k.keeper.note(), "note");
    }

    void heldOffsetEndsAfterSixHours()
    {
        Keeper k;
        k.keeper.setOn(true);
        k.network->answer(kSlow2500);
        k.keeper.measure();
        k.network->answer(kSilent);
        k.computer.advance(6 * 3600 + 1);
        k.steadyMs += (6 * 3600 + 1) * 1000;
        k.keeper.watch();
        QCOMPARE(k.clock.offsetMs(), 0);
        QCOMPARE(k.keeper.state(), StandardTime::State::Computer);
    }

    void aStepOfTheComputersClockIsMeasuredAgain()
    {
        Keeper k;
        k.keeper.setOn(true);
        k.network->answer(kSlow2500);
        k.steadyMs += 90'000;
        k.computer.advance(90);
        k.keeper.watch();
        QCOMPARE(k.network->asked.size(), 1); // the clocks went on together
        k.steadyMs += 2000;
        k.computer.set(k.computer.now().addMSecs(2000 + 2500)); // the system corrected itself
        k.keeper.watch();
        QCOMPARE(k.network->asked.size(), 2);
    }

    void offSendsNothingAndDropsALateAnswer()
    {
        Keeper k;
        k.keeper.setOn(true);
        k.keeper.setOn(false);
        k.network->answer(kSlow2500);
        k.keeper.measure();
        QCOMPARE(k.network->asked.size(), 1);
        QCOMPARE(k.clock.offsetMs(), 0);
        QCOMPARE(k.keeper.note(), QString());
    }
};

QTEST_GUILESS_MAIN(TestStandardTime)
#include "tst_standard_time.moc"
