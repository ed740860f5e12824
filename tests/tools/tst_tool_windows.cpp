// SPDX-License-Identifier: GPL-3.0-or-later
// The tools' windows, offscreen: Esc stops the shutdown; the broker's rates and the time servers
// are there again the next time.
#include "core/calendar/trading_calendar.h"
#include "core/settings/program_options.h"
#include "fakes/fake_network_time.h"
#include "fakes/system_fakes.h"
#include "platform/dummy/dummy_services.h"
#include "tools/clocktool/clock_window.h"
#include "tools/common/input_field.h"
#include "tools/posmover/switch_window.h"
#include "tools/poweroff/poweroff_window.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestToolWindows : public QObject {
    Q_OBJECT

private slots:
    void escapeStopsTheShutdown()
    {
        FakePowerOff power;
        PowerOffWindow window(power);
        window.show();
        window.start();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        for (int i = 0; i < 61; ++i)
            window.countdown().tick();
        QCOMPARE(power.requests, 0);
    }

    void brokerRatesAreRemembered()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(u"tools.ini"_s), QSettings::IniFormat);
        {
            SwitchWindow window(settings);
            window.findChild<InputField*>(u"commissionRate"_s)->setText(u"0.0125"_s);
            window.findChild<InputField*>(u"minimumCommission"_s)->setText(u"0"_s);
        }
        QSettings again(dir.filePath(u"tools.ini"_s), QSettings::IniFormat);
        SwitchWindow window(again);
        QCOMPARE(window.findChild<InputField*>(u"commissionRate"_s)->text(), u"0.0125"_s);
        QCOMPARE(window.findChild<InputField*>(u"minimumCommission"_s)->text(), u"0"_s);
    }

    void timeServersAreRemembered()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(u"tools.ini"_s), QSettings::IniFormat);
        FakeTimeSync sync;
        FakeNetworkTime network;
        DummyClock computer;
        ProgramOptions options(dir.path());
        const TradingCalendar calendar;
        {
            ClockWindow window(sync, network, computer, calendar, settings, options);
            window.findChild<QPlainTextEdit*>(u"servers"_s)
                ->setPlainText(u"127.0.0.1:1123\n\n time.example \n"_s);
            window.close();
        }
        QSettings again(dir.filePath(u"tools.ini"_s), QSettings::IniFormat);
        ClockWindow window(sync, network, computer, calendar, again, options);
        QCOMPARE(window.findChild<QPlainTextEdit*>(u"servers"_s)->toPlainText(),
                 u"127.0.0.1:1123\ntime.example"_s);
    }
};

QTEST_MAIN(TestToolWindows)
#include "tst_tool_windows.moc"
