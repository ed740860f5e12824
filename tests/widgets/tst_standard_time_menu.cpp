// SPDX-License-Identifier: GPL-3.0-or-later
// 编辑 > 按标准时间提醒 in the main window: the day on a measured offset, the clock line saying
// so on a second line, the choice remembered in tickbell.ini.
#include "fakes/fake_network_time.h"
#include "modal.h"
#include "platform/dummy/dummy_services.h"
#include "ui/mainwindow/main_window.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QList<ServerAnswer> kSlow2500 = {{u"s"_s, {}, ServerAnswer::Kind::Answered, 2'500'000, 400, {}}};

// A day and its window on fakes, with config.txt (and so tickbell.ini) in folder.
struct Program {
    explicit Program(const QString& folder)
    {
        TradingDayServices s;
        s.clock = &clock;
        s.codePage = &codePage;
        s.audio = &audio;
        s.launcher = &launcher;
        s.programFolder = folder;
        s.configPath = folder + u"/config.txt"_s;
        auto fake = std::make_unique<FakeNetworkTime>();
        network = fake.get();
        s.networkTime = std::move(fake);
        day = std::make_unique<TradingDay>(std::move(s));
        window = std::make_unique<Form1>(*day, stacking);
        day->start();
    }
    DummyClock clock{QDateTime(QDate(2010, 2, 12), QTime(9, 19, 57, 500))};
    QtCodePage codePage;
    DummyAudio audio;
    DummyLauncher launcher;
    DummyStacking stacking;
    FakeNetworkTime* network = nullptr;
    std::unique_ptr<TradingDay> day;
    std::unique_ptr<Form1> window;
};

} // namespace

class TestStandardTimeMenu : public QObject {
    Q_OBJECT

private slots:
    void switchedOnRemembersAndCorrects()
    {
        QTemporaryDir folder;
        {
            Program p(folder.path());
            Form1& w = *p.window;
            const QRect line = w.Label3->geometry();
            const QRect advice = w.Label4->geometry();
            w.standardTime->trigger();
            QCOMPARE(p.network->asked.size(), 1);
            p.network->answer(kSlow2500);
            p.day->tick();
            // 09:19:57.5 on the computer is 09:20:00 on the exchanges: the auction.
            QCOMPARE(w.Label3->text(), u"2010年2月12日 9:20:00\n标准时间（仅一台服务器），本机慢 2.5 秒"_s);
            QCOMPARE(p.day->playok, u"机构竞价.wav"_s);
            // The note is a second line; the advice moves down as much, its bottom where it was.
            QVERIFY(w.Label3->height() > line.height());
            QCOMPARE(w.Label4->y() - advice.y(), w.Label3->height() - line.height());
            QCOMPARE(w.Label4->geometry().bottom(), advice.bottom());
        }
        // The next start begins on standard time, measuring once the window is up.
        Program again(folder.path());
        QVERIFY(again.window->standardTime->isChecked());
        QTRY_COMPARE_WITH_TIMEOUT(again.network->asked.size(), 1, 5000);
        again.window->standardTime->trigger();
        again.day->tick();
        QCOMPARE(again.window->Label3->text(), u"2010年2月12日 9:19:57"_s);
        QVERIFY(!Program(folder.path()).window->standardTime->isChecked());
    }

    void unsavedChoiceIsSaidAndHolds()
    {
        QTemporaryDir folder;
        QFile blocker(folder.filePath(u"tickbell.ini"_s));
        QVERIFY(QDir().mkpath(blocker.fileName())); // a folder where the file should be
        Program p(folder.path());
        QString said;
        ModalWatcher watcher([&said](QWidget* modal) {
            said = static_cast<QMessageBox*>(modal)->text();
            modal->close();
        });
        p.window->standardTime->trigger();
        QVERIFY(watcher.seen());
        QVERIFY2(said.contains(u"tickbell.ini"_s) && said.contains(u"这次运行中照样有效"_s),
                 qPrintable(said));
        QVERIFY(p.day->standardTimeOn());
    }
};

QTEST_MAIN(TestStandardTimeMenu)
#include "tst_standard_time_menu.moc"
