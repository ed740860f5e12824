// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/market_phase.h"
#include "core/day/trading_day.h"
#include "core/settings/desktop_switches.h"
#include "core/settings/program_options.h"
#include "platform/dummy/dummy_services.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

// 2010-02-12 is a Friday before the Spring Festival week (15 to 19 February closed); the 11th a
// Thursday.
const QDate kThursday(2010, 2, 11);
const QDate kFriday(2010, 2, 12);

QDateTime at(QDate d, int h, int m, int s = 0)
{
    return QDateTime(d, QTime(h, m, s));
}

// 01:20 in London in February is 09:20 in Beijing.
QDateTime inLondon(QDate d, int h, int m)
{
    return QDateTime(d, QTime(h, m), QTimeZone("Europe/London"));
}

} // namespace

Q_DECLARE_METATYPE(MarketPhase)

class TestDesktopReminders : public QObject {
    Q_OBJECT

    const TradingCalendar m_calendar; // the built-in list knows 2010

    // The day on the dummy services, with its files in folder (none: no files).
    TradingDayServices services(DummyPlatformServices& p, const QString& folder = {}) const
    {
        TradingDayServices s;
        s.clock = &p.dummyClock;
        s.codePage = &p.qtCodePage;
        s.audio = &p.dummyAudio;
        s.launcher = &p.dummyLauncher;
        s.speech = &p.dummySpeech;
        s.programFolder = folder;
        if (!folder.isEmpty())
            s.configPath = folder + u"/config.txt"_s;
        s.calendar = m_calendar;
        return s;
    }

private slots:
    void phasePicture_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<MarketPhase>("phase");
        QTest::newRow("before the auction") << at(kFriday, 9, 14, 59) << MarketPhase::Closed;
        QTest::newRow("opening auction") << at(kFriday, 9, 15) << MarketPhase::Auction;
        QTest::newRow("its last second") << at(kFriday, 9, 29, 59) << MarketPhase::Auction;
        QTest::newRow("morning session") << at(kFriday, 9, 30) << MarketPhase::Trading;
        QTest::newRow("midday break") << at(kFriday, 11, 30) << MarketPhase::Midday;
        // The same table as the schedule's 12:50 auction and its notification.
        QTest::newRow("midday auction") << at(kFriday, 12, 50) << MarketPhase::Auction;
        QTest::newRow("afternoon session") << at(kFriday, 13, 0) << MarketPhase::Trading;
        QTest::newRow("closing auction") << at(kFriday, 14, 57) << MarketPhase::Auction;
        QTest::newRow("after the close") << at(kFriday, 15, 0) << MarketPhase::Closed;
        QTest::newRow("weekend") << at(QDate(2010, 2, 13), 10, 0) << MarketPhase::Closed;
        QTest::newRow("listed holiday") << at(QDate(2010, 2, 15), 10, 0) << MarketPhase::Closed;
        QTest::newRow("Beijing time from London") << inLondon(kFriday, 1, 20) << MarketPhase::Auction;
    }
    void phasePicture()
    {
        QFETCH(QDateTime, now);
        if (!now.isValid())
            QSKIP("this system does not know the zone");
        QTEST(trayView(now, u"x"_s, m_calendar).picture, "phase");
    }

    void toolTip_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("tip");
        QTest::newRow("auction")
            << at(kFriday, 9, 20) << u"还没开盘..."_s
            << u"还没开盘...\n北京时间 9:20\n下一时点：9:25 开盘集合竞价撮合（还有5分钟）"_s;
        // To the minute: the desktop hears of it once a minute.
        QTest::newRow("the same minute")
            << at(kFriday, 9, 20, 59) << u"还没开盘..."_s
            << u"还没开盘...\n北京时间 9:20\n下一时点：9:25 开盘集合竞价撮合（还有5分钟）"_s;
        QTest::newRow("hours")
            << at(kFriday, 11, 40, 30) << u"中午休盘中..."_s
            << u"中午休盘中...\n北京时间 11:40\n下一时点：12:50 机构竞价（还有1小时10分钟）"_s;
        QTest::newRow("tomorrow")
            << at(kThursday, 15, 0) << u"今天已收盘..."_s
            << u"今天已收盘...\n北京时间 15:00\n下一时点：明天 9:15 开盘集合竞价开始（还有18小时15分钟）"_s;
        QTest::newRow("past the holidays")
            << at(kFriday, 15, 0) << u"今天已收盘..."_s
            << u"今天已收盘...\n北京时间 15:00\n下一时点：2月22日 9:15 开盘集合竞价开始（还有9天18小时）"_s;
        QTest::newRow("Beijing time from London")
            << inLondon(kFriday, 1, 20) << u"还没开盘..."_s
            << u"还没开盘...\n北京时间 9:20\n下一时点：9:25 开盘集合竞价撮合（还有5分钟）"_s;
    }
    void toolTip()
    {
        QFETCH(QDateTime, now);
        QFETCH(QString, status);
        if (!now.isValid())
            QSKIP("this system does not know the zone");
        QTEST(trayView(now, status, m_calendar).toolTip, "tip");
    }

    // The notification at each key moment of the schedule's table, and none at other ticks: the
    // day ticks at "before", then at "now".
    void keyMomentNotice_data()
    {
        QTest::addColumn<QDateTime>("before");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QStringList>("notice"); // summary and body; none when empty
        const QString auction = u"注意：当前是开盘前十分钟的机构竞价时间。"_s;
        const QString keyPoint = u"注意：盘中关键时间点，可预测走势，注意量能。"_s;
        const QString closingSoon = u"注意：盘中关键时间点，五分钟后就收盘了，买卖要把握好时间"_s;
        const struct {
            const char* name;
            QTime at;
            QString status;
            QString body;
        } moments[] = {
            {"09:20 auction", QTime(9, 20), u"还没开盘..."_s, auction},
            {"09:30 morning", QTime(9, 30), u"股市开盘中..."_s,
             u"注意：当前是上午开盘时间，中午11:30收盘，上午的走势将在9:40和10:30基本形成，注意量能"_s},
            {"09:40", QTime(9, 40), u"盘中关键点.."_s, keyPoint},
            {"10:30", QTime(10, 30), u"盘中关键点.."_s, keyPoint},
            {"11:25", QTime(11, 25), u"快收盘了!"_s, closingSoon},
            {"11:30 midday", QTime(11, 30), u"中午休盘中..."_s,
             u"注意：现在是中午休盘时间，下午12:50分机构开始竞价，13:00-15:00是开盘时间。"_s},
            {"12:50 auction", QTime(12, 50), u"中午休盘中..."_s, auction},
            {"13:00 afternoon", QTime(13, 0), u"股市开盘中..."_s,
             u"注意：当前是下午开盘时间，下午15:00收盘，下午的走势14:00基本形成，注意量能"_s},
            {"13:10", QTime(13, 10), u"盘中关键点.."_s, keyPoint},
            {"14:00", QTime(14, 0), u"盘中关键点.."_s, keyPoint},
            {"14:55", QTime(14, 55), u"快收盘了!"_s, closingSoon},
            // The advice goes back to the welcome; the next trading day is past the Spring Festival.
            {"15:00 close", QTime(15, 0), u"今天已收盘..."_s, u"下一个交易日：2月22日（周一）9:15"_s},
        };
        for (const auto& m : moments) {
            const QDateTime now(kFriday, m.at);
            QTest::newRow(m.name) << now.addSecs(-1) << now << QStringList{m.status, m.body};
        }
        QTest::newRow("the auction's next second")
            << at(kFriday, 9, 20) << at(kFriday, 9, 20, 1) << QStringList();
        QTest::newRow("a holiday's prompt")
            << at(QDate(2010, 2, 15), 9, 59, 59) << at(QDate(2010, 2, 15), 10, 0) << QStringList();
    }
    void keyMomentNotice()
    {
        QFETCH(QDateTime, before);
        QFETCH(QDateTime, now);
        QFETCH(QStringList, notice);
        DummyPlatformServices p;
        TradingDay day(services(p));
        p.dummyClock.set(before);
        day.tick();
        QList<DesktopNotice> told;
        connect(&day, &TradingDay::keyMoment, this, [&told](const DesktopNotice& n) { told << n; });
        p.dummyClock.set(now);
        day.tick();
        if (notice.isEmpty()) {
            QCOMPARE(told.size(), 0);
        } else {
            QCOMPARE(told.size(), 1);
            QCOMPARE(told[0].summary, notice[0]);
            QCOMPARE(told[0].body, notice[1]);
        }
    }

    // The trader's own reminder at its second: said, shown until the next moment, read after the
    // chime; one that falls on a design prompt's second is read only after the prompt.
    void ownReminders()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(u"reminders.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("14:50 每个交易日 尾盘检查持仓\n14:55 周五 卖出前看纪律\n");
        file.close();
        DummyPlatformServices p;
        DummySpeech& speech = p.dummySpeech;
        TradingDay day(services(p, dir.path()));
        day.reminders().load();
        QStringList told, notices;
        connect(&day, &TradingDay::ownReminder, this, [&told](const QString& t) { told << t; });
        connect(&day, &TradingDay::reminderNotice, this, [&notices](const QString& t) { notices << t; });

        p.dummyClock.set(at(kFriday, 14, 49, 59));
        day.tick();
        QCOMPARE(day.nextMoment(p.dummyClock.now()).name, u"尾盘检查持仓"_s);
        p.dummyClock.set(at(kFriday, 14, 50));
        day.tick();
        QCOMPARE(told, QStringList{u"尾盘检查持仓"_s});
        QCOMPARE(p.dummyAudio.played.constLast(), dir.filePath(u"sound/我的提醒.wav"_s));
        QTRY_COMPARE_WITH_TIMEOUT(speech.said, QStringList{u"尾盘检查持仓"_s}, 5000);
        speech.finish();

        p.dummyClock.set(at(kFriday, 14, 55));
        day.tick(); // the design's 5分钟后收盘 first; the reminder's voice waits for its close
        QCOMPARE(told.constLast(), u"卖出前看纪律"_s);
        QCOMPARE(notices, (QStringList{u"尾盘检查持仓"_s, QString(), u"卖出前看纪律"_s}));
        QVERIFY(p.dummyAudio.played.constLast().endsWith(u"5分钟后收盘.wav"_s));
        day.closePrompt();
        QTRY_COMPARE_WITH_TIMEOUT(speech.said.size(), 2, 5000);
        QCOMPARE(speech.said.constLast(), u"卖出前看纪律"_s);
    }

    // Remembered in tickbell.ini; the calendar notice once a day, also across a restart.
    void switches()
    {
        QTemporaryDir dir;
        ProgramOptions options(dir.path());
        DesktopSwitches first(options);
        QVERIFY(first.trayIcon() && first.notifications());
        QVERIFY(!first.closeToTray()); // 关闭 minimises, as the design has it
        first.setTrayIcon(false);
        first.setCloseToTray(true);
        const QDate monday(2027, 1, 4);
        QVERIFY(first.takeCalendarNotice(monday));
        QVERIFY(!first.takeCalendarNotice(monday));
        ProgramOptions again(dir.path());
        DesktopSwitches next(again);
        QVERIFY(!next.trayIcon() && next.notifications() && next.closeToTray());
        QVERIFY(!next.takeCalendarNotice(monday));
        QVERIFY(next.takeCalendarNotice(monday.addDays(1)));
    }
};

QTEST_GUILESS_MAIN(TestDesktopReminders)
#include "tst_desktop_reminders.moc"
