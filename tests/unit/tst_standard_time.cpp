// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/time/exchange_clock.h"
#include "core/time/standard_time.h"
#include "fakes/fake_network_time.h"
#include "platform/dummy/dummy_services.h"

#include <QSignalSpy>
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
    StandardTime keeper{clock, &net, [] { return QStringList{u"127.0.0.1:1123"_s}; }};
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
        k.keeper.watch();
        QCOMPARE(k.clock.offsetMs(), 0);
        QCOMPARE(k.keeper.state(), StandardTime::State::Computer);
    }

    // The computer's clock set 2.5 s on (to the servers' time), between measurements or while
    // one is under way: the exchange clock does not move, and the offset that holds is 0.
    void aStepOfTheComputersClockIsTakenOut_data()
    {
        QTest::addColumn<bool>("duringMeasurement");
        QTest::addColumn<QList<ServerAnswer>>("answers"); // measured after the step, or before it
        QTest::newRow("between measurements") << false << QList{answer(0), answer(300)};
        QTest::newRow("during a measurement") << true << kSlow2500;
    }
    void aStepOfTheComputersClockIsTakenOut()
    {
        QFETCH(bool, duringMeasurement);
        QFETCH(QList<ServerAnswer>, answers);
        Keeper k;
        k.keeper.setOn(true);
        k.network->answer(kSlow2500);
        k.computer.advance(90); // past the pause after a measurement
        if (duringMeasurement)
            k.keeper.measure();
        const QDateTime before = k.clock.now();
        k.computer.set(k.computer.now().addMSecs(2500));
        QCOMPARE(k.clock.now(), before);
        QCoreApplication::processEvents();    // the step is told after the reading that saw it
        QCOMPARE(k.network->asked.size(), 2); // measured again, or the one under way goes on
        k.network->answer(answers);
        QCOMPARE(k.clock.offsetMs(), 0);
        QCOMPARE(k.keeper.state(), StandardTime::State::Measured);
    }

    // NTP's panic threshold: an agreed offset of three years is not taken; a clock set that far
    // while an offset is held drops it.
    void noOffsetBeyond1000Seconds()
    {
        Keeper k;
        k.keeper.setOn(true);
        QSignalSpy told(&k.keeper, &StandardTime::farOff);
        const qint64 threeYearsUs = qint64(3 * 365 + 1) * 86'400'000'000;
        k.network->answer({answer(threeYearsUs), answer(threeYearsUs + 200)});
        QCOMPARE(k.clock.offsetMs(), 0);
        QCOMPARE(k.keeper.state(), StandardTime::State::FarOff);
        QCOMPARE(k.keeper.note(), u"本机时钟慢了约 3 年，相差太大未采用，按本机时间；请用时间校正器检查"_s);
        QCOMPARE(told.size(), 1);

        k.keeper.measure();
        k.network->answer(kSlow2500);
        k.computer.advance(90);
        k.computer.set(k.computer.now().addSecs(-3 * 3600)); // set back three hours
        k.clock.now();
        QCOMPARE(k.clock.offsetMs(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(k.keeper.state(), StandardTime::State::Measuring);
        QCOMPARE(k.network->asked.size(), 3);
    }

    void offSendsNothingAndDropsALateAnswer()
    {
        Keeper k;
        k.keeper.setOn(true);
        k.keeper.setOn(false);
        QVERIFY(!k.network->pending()); // the measurement under way is abandoned with its query
        k.network->answer(kSlow2500);
        k.keeper.measure();
        QCOMPARE(k.network->asked.size(), 1);
        QCOMPARE(k.clock.offsetMs(), 0);
        QCOMPARE(k.keeper.note(), QString());
    }
};

QTEST_GUILESS_MAIN(TestStandardTime)
#include "tst_standard_time.moc"
