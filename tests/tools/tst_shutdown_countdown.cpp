// SPDX-License-Identifier: GPL-3.0-or-later
// The quick shutdown's minute, second by second, against a power-off that records the request.
#include "fakes/system_fakes.h"
#include "tools/core/shutdown_countdown.h"

#include <QTest>

using namespace Qt::StringLiterals;
using State = ShutdownCountdown::State;

class TestShutdownCountdown : public QObject {
    Q_OBJECT

private slots:
    void leftAloneItAsksAfterSixtySeconds()
    {
        FakePowerOff power;
        ShutdownCountdown countdown(power);
        countdown.start();
        QCOMPARE(countdown.text(), u"60 秒后关机"_s);
        for (int i = 0; i < 59; ++i)
            countdown.tick();
        QCOMPARE(countdown.text(), u"1 秒后关机"_s);
        QCOMPARE(power.requests, 0);
        countdown.tick();
        QCOMPARE(power.requests, 1);
        power.answer();
        QCOMPARE(countdown.state(), State::Accepted);
        countdown.tick();
        QCOMPARE(power.requests, 1);
    }

    void cancelledItNeverAsks()
    {
        FakePowerOff power;
        ShutdownCountdown countdown(power);
        countdown.start();
        for (int i = 0; i < 30; ++i)
            countdown.tick();
        countdown.cancel();
        for (int i = 0; i < 60; ++i)
            countdown.tick();
        QCOMPARE(power.requests, 0);
        QCOMPARE(countdown.state(), State::Cancelled);
    }

    void aRefusalIsShownAndCanBeRetried()
    {
        FakePowerOff power;
        ShutdownCountdown countdown(power);
        countdown.start();
        countdown.powerOffNow();
        power.answer(u"系统不允许这个用户关机"_s);
        QCOMPARE(countdown.text(), u"没能关机：系统不允许这个用户关机"_s);
        countdown.powerOffNow();
        QCOMPARE(power.requests, 2);
    }
};

QTEST_GUILESS_MAIN(TestShutdownCountdown)
#include "tst_shutdown_countdown.moc"
