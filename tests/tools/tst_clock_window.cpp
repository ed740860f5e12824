// SPDX-License-Identifier: GPL-3.0-or-later
// The clock tool's window, offscreen, on a clock and time servers the test gives.
#include "core/calendar/trading_calendar.h"
#include "core/settings/program_options.h"
#include "fakes/fake_network_time.h"
#include "fakes/system_fakes.h"
#include "platform/dummy/dummy_services.h"
#include "tools/ui/clock_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

const QList<ServerAnswer> kSlow2500 = {
    {u"127.0.0.1:1123"_s, u"127.0.0.1"_s, ServerAnswer::Kind::Answered, 2'500'000, 400, {}}};

// The window on fakes, its first measurement asked for.
struct Tool {
    QTemporaryDir dir;
    QSettings settings{dir.filePath(u"tools.ini"_s), QSettings::IniFormat};
    ProgramOptions options{dir.path()};
    FakeTimeSync sync;
    FakeNetworkTime network;
    DummyClock computer;
    TradingCalendar calendar;
    ClockWindow window{sync, network, computer, calendar, settings, options};

    QString text(const char* label) const { return window.findChild<QLabel*>(QLatin1String(label))->text(); }
};

} // namespace

class TestClockWindow : public QObject {
    Q_OBJECT

private slots:
    // Beijing's 9:20 is New York's 20:20 the evening before; the servers say the computer is
    // 2.5 s slow.
    void beijingTimeFromNewYork()
    {
        Tool t;
        t.computer.set(QDateTime(QDate(2010, 2, 9), QTime(20, 20), QTimeZone(-5 * 3600)));
        t.window.query();
        t.network.answer(kSlow2500);
        QCOMPARE(t.text("computer"), u"按本机时钟：北京时间 2010年2月10日 09:20:00.0（本地 20:20:00）"_s);
        QCOMPARE(t.text("corrected"), u"标准时间：北京时间 2010年2月10日 09:20:02.5"_s);
        QCOMPARE(t.text("nextMoment"),
                 u"下一个关键时刻（北京时间）：9:25 开盘集合竞价撮合，还有 4 分 57.5 秒"_s);
    }

    // Switching on network time that is on already changes nothing: the advice is then about
    // the system's time service.
    void correctingAsksOnlyWhenNetworkTimeIsOff_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QString>("status");
        QTest::newRow("off") << false << 1 << u"正在请系统校正时间..."_s;
        QTest::newRow("on already")
            << true << 0
            << u"系统的网络对时本来就已开启，这个按钮不会改变什么。本机仍比标准时间慢 2.500 "
               "秒，说明系统的对时服务没有在正常工作："_s;
    }
    void correctingAsksOnlyWhenNetworkTimeIsOff()
    {
        QFETCH(bool, on);
        Tool t;
        t.sync.syncOn = on;
        t.window.query();
        t.network.answer(kSlow2500);
        t.window.findChild<QPushButton*>(u"correct"_s)->click();
        QTEST(t.sync.requests, "requests");
        QFETCH(QString, status);
        QVERIFY2(t.text("status").startsWith(status), qPrintable(t.text("status")));
    }

    // The switch is Tickbell's, in its tickbell.ini: written when ticked, and following the file.
    void standardTimeSwitchIsTickbells()
    {
        Tool t;
        auto* box = t.window.findChild<QCheckBox*>(u"standardTime"_s);
        box->click();
        QCOMPARE(ProgramOptions(t.dir.path()).value(QLatin1String(ProgramOptions::kStandardTime)).toBool(),
                 true);
        QVERIFY(ProgramOptions(t.dir.path()).setValue(QLatin1String(ProgramOptions::kStandardTime), false));
        QTRY_VERIFY_WITH_TIMEOUT(!box->isChecked(), 10000);
    }
};

QTEST_MAIN(TestClockWindow)
#include "tst_clock_window.moc"
