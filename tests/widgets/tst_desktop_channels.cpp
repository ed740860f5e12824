// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/market_phase.h"
#include "core/settings/desktop_switches.h"
#include "core/settings/program_options.h"
#include "fakes/form1_fixture.h"
#include "ui/calendar/calendar_window.h"
#include "ui/tray/desktop_channels.h"
#include "ui/tray/tray_icon.h"
#include "widgets/image_button.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QtTest/qtestspontaneevent.h>

using namespace Qt::StringLiterals;

namespace {

// The main window on fakes with its channels, on a desktop whose tray the test decides.
struct Desktop {
    Form1Fixture f;
    DummyNotifier notifier;
    bool hasTray = true;
    std::unique_ptr<ProgramOptions> options;
    std::unique_ptr<DesktopSwitches> switches;
    std::unique_ptr<DesktopChannels> channels;
    Form1* w = nullptr;

    explicit Desktop(QDateTime now = QDateTime(QDate(2010, 2, 12), QTime(9, 19, 59)),
                     const QString& closedDays = {})
    {
        f.clock.set(now);
        f.calendar.addClosedDays(closedDays);
        f.writeDefaultConfig(QByteArray());
        w = &f.create();
        options = std::make_unique<ProgramOptions>(f.folder.path());
        switches = std::make_unique<DesktopSwitches>(*options);
        channels =
            std::make_unique<DesktopChannels>(*f.day, *w, *switches, &notifier, [this] { return hasTray; });
    }

    void tickAt(const QDateTime& t)
    {
        f.clock.set(t);
        f.day->tick();
    }
};

void spontaneousClose(QWidget& w)
{
    QCloseEvent userClose;
    QSpontaneKeyEvent::setSpontaneous(&userClose);
    QApplication::instance()->notify(&w, &userClose);
}

} // namespace

class TestDesktopChannels : public QObject {
    Q_OBJECT

private slots:
    // 2027-01-04 09:19:50, the holidays file ending with 2026: a notification and a line under the
    // controls, which covers none of them, once a day; its button opens the calendar at 2027.
    void calendarNoticeBesideTheDay()
    {
        Desktop d(QDateTime(QDate(2027, 1, 4), QTime(9, 19, 50)), u"2026-10-01\n"_s);
        Form1& w = *d.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const int height = w.height();
        const QString notice = d.f.calendar.outdatedNotice(QDate(2027, 1, 4));
        QStatusBar* line = nullptr;
        QTRY_VERIFY((line = w.findChild<QStatusBar*>(u"CalendarNotice"_s)) && line->isVisible());
        QCOMPARE(d.notifier.shown, (QList<QStringList>{{u"休市日历提示"_s, notice}}));
        QCOMPARE(line->findChild<QLabel*>(u"noticeText"_s)->toolTip(), notice);
        QTRY_COMPARE(w.height(), height + line->height());
        const QRect lineArea(line->mapTo(&w, QPoint()), line->size());
        for (QWidget* shown : QList<QWidget*>{w.Label1, w.Label3, w.Label4, w.Picture5, w.Picture8})
            QVERIFY2(!lineArea.intersects(QRect(shown->mapTo(&w, QPoint()), shown->size())),
                     qPrintable(shown->objectName()));

        d.f.day->checkCalendar(); // a second time the same day: nothing more
        QCOMPARE(d.notifier.shown.size(), 1);
        d.f.day->countdownTick(); // the exit after the close waits while it shows
        QCOMPARE(d.f.day->c2exit, qint16(16));

        line->findChild<QPushButton*>(u"openCalendar"_s)->click();
        auto* calendar = w.findChild<CalendarWindow*>();
        QTRY_VERIFY(calendar && calendar->isVisible());
        QCOMPARE(calendar->year(), 2027);
        calendar->close();
        line->findChild<QToolButton*>(u"closeNotice"_s)->click();
        QTRY_VERIFY(!w.findChild<QStatusBar*>(u"CalendarNotice"_s));
        QTRY_COMPARE(w.height(), height);
        d.f.day->countdownTick();
        QCOMPARE(d.f.day->c2exit, qint16(15));
    }

    // A key moment reaches the desktop while the switch is on; where the desktop has no service,
    // nothing does and the items are greyed and unmarked, the trader's choice kept.
    void keyMomentsNotified()
    {
        Desktop d;
        QVERIFY(d.channels->notificationsItem->isChecked());
        d.tickAt(QDateTime(QDate(2010, 2, 12), QTime(9, 20)));
        QCOMPARE(d.notifier.shown,
                 (QList<QStringList>{{u"还没开盘..."_s, u"注意：当前是开盘前十分钟的机构竞价时间。"_s}}));
        d.channels->notificationsItem->trigger();
        d.tickAt(QDateTime(QDate(2010, 2, 12), QTime(9, 30)));
        QCOMPARE(d.notifier.shown.size(), 1);

        d.channels->notificationsItem->trigger();
        d.notifier.present = false;
        d.hasTray = false;
        emit d.channels->menu->aboutToShow();
        for (QAction* item :
             {d.channels->trayItem, d.channels->notificationsItem, d.channels->closeToTrayItem})
            QVERIFY2(!item->isEnabled() && !item->isChecked(), qPrintable(item->objectName()));
        QVERIFY(!d.channels->tray()->isVisible());
        d.tickAt(QDateTime(QDate(2010, 2, 12), QTime(9, 40)));
        QCOMPARE(d.notifier.shown.size(), 1);
        QVERIFY(d.switches->trayIcon() && d.switches->notifications());
    }

    // The submenu ends 编辑; the tray shows the day and its menu's 语音提醒 is the 编辑 menu's
    // switch; switched off, the icon goes.
    void trayShowsTheDay()
    {
        Desktop d;
        QMenu* edit = d.w->menuBar()->findChild<QMenu*>(u"edit234"_s);
        QCOMPARE(edit->actions().last(), d.channels->menu->menuAction());
        QCOMPARE(d.channels->menu->title(), u"提醒方式"_s);
        TrayIcon* tray = d.channels->tray();
        QVERIFY(tray && tray->isVisible());
        d.tickAt(QDateTime(QDate(2010, 2, 12), QTime(9, 30)));
        QCOMPARE(tray->icon().toolTip(), trayView(d.f.clock.now(), u"股市开盘中..."_s, d.f.calendar).toolTip);
        tray->voice->trigger();
        QVERIFY(!d.w->malert->isChecked());
        d.w->malert->trigger();
        QVERIFY(tray->voice->isChecked());
        tray->exit->trigger();
        QCOMPARE(d.f.exits, 1);
        d.channels->trayItem->trigger();
        QVERIFY(!tray->isVisible());
        QVERIFY(!d.channels->closeToTrayItem->isEnabled());
    }

    // With the tray chosen for it, 关闭 hides the window; a click on the tray brings it back,
    // and so does the tray going away.
    void closeHidesInTheTray()
    {
        Desktop d;
        Form1& w = *d.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        d.channels->closeToTrayItem->trigger();
        spontaneousClose(w);
        QVERIFY(w.isHidden());
        emit d.channels->tray()->icon().activated(QSystemTrayIcon::Trigger);
        QVERIFY(w.isVisible() && !w.isMinimized());

        spontaneousClose(w);
        QVERIFY(w.isHidden());
        d.hasTray = false;
        d.channels->refresh();
        QVERIFY(w.isVisible());
        QTRY_VERIFY(w.isMinimized());
    }
};

QTEST_MAIN(TestDesktopChannels)
#include "tst_desktop_channels.moc"
