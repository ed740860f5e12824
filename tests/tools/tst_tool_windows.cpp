// SPDX-License-Identifier: GPL-3.0-or-later
// The tools' windows, offscreen: Esc closes each and stops the shutdown; a window opens inside
// the screen; the limits follow the trading day; the broker's rates and the time servers are
// there again the next time, in tools.ini beside config.txt.
#include "core/calendar/trading_calendar.h"
#include "core/settings/program_options.h"
#include "core/settings/time_servers.h"
#include "fakes/fake_network_time.h"
#include "fakes/system_fakes.h"
#include "platform/dummy/dummy_services.h"
#include "tools/core/stock_board.h"
#include "tools/ui/clock_window.h"
#include "tools/ui/input_field.h"
#include "tools/ui/limit_window.h"
#include "tools/ui/poweroff_window.h"
#include "tools/ui/switch_window.h"
#include "tools/ui/tool_app.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// What a tool's window is built on: its own tools.ini, fake system parts, the built-in calendar.
struct ToolParts {
    QTemporaryDir dir;
    QSettings settings{dir.filePath(u"tools.ini"_s), QSettings::IniFormat};
    FakeTimeSync sync;
    FakeNetworkTime network;
    const DummyClock computer;
    ProgramOptions options{dir.path()};
    const TradingCalendar calendar;

    std::unique_ptr<QWidget> open(const QString& tool)
    {
        if (tool == u"clocktool"_s)
            return std::make_unique<ClockWindow>(sync, network, computer, calendar, settings, options);
        if (tool == u"posmover"_s)
            return std::make_unique<SwitchWindow>(settings);
        return std::make_unique<LimitWindow>(calendar, QDate(2026, 12, 8));
    }
};

} // namespace

class TestToolWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The user's own settings folder, for tools.ini as it was kept before.
        QVERIFY(m_userFolder.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_userFolder.path());
    }

    void escapeClosesTheWindow_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::newRow("时间校正") << u"clocktool"_s;
        QTest::newRow("转仓计算器") << u"posmover"_s;
        QTest::newRow("涨停版计算") << u"ceilprice"_s;
    }
    void escapeClosesTheWindow()
    {
        QFETCH(QString, tool);
        ToolParts parts;
        const std::unique_ptr<QWidget> window = parts.open(tool);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        // Pressed where the typing is.
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus && focus->window() == window.get());
        QTest::keyClick(focus, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

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

    void opensInsideTheScreen()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(u"tools.ini"_s), QSettings::IniFormat);
        SwitchWindow window(settings);
        const QRect area = window.screen()->availableGeometry();
        window.resize(area.size() + QSize(100, 100));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(area.contains(window.frameGeometry()));
    }

    // A tool's window grows with its content: with 时间校正's answers in (four servers with
    // their reasons, and the advice), as tall as its layout asks at its width, so that no part
    // below them (the server list, its scroll bar) is squeezed; inside the screen.
    void windowsFitTheirContent()
    {
        ToolParts parts;
        ClockWindow window(parts.sync, parts.network, parts.computer, parts.calendar, parts.settings,
                           parts.options);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.query();
        ServerAnswer unknown{{}, {}, ServerAnswer::Kind::Failed,
                             0,  0,  u"找不到这个服务器的地址（域名解析失败），请检查网络和服务器名称"_s};
        QList<ServerAnswer> answers;
        for (const QString& server : TimeServers::defaults()) {
            unknown.server = server;
            answers << unknown;
        }
        parts.network.answer(answers);
        const auto wanted = [&window] { return window.layout()->totalHeightForWidth(window.width()); };
        QTRY_VERIFY2(
            window.height() >= wanted(),
            qPrintable(u"%1 x %2, wanted %3"_s.arg(window.width()).arg(window.height()).arg(wanted())));
        QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
    }

    void limitsFollowTheDay_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("note"); // names the day used, and only a closed day has one
        QTest::newRow("the first day of 10 % for ST") << QDate(2026, 7, 6) << QString();
        QTest::newRow("the Saturday before: the next trading day's")
            << QDate(2026, 7, 4) << u"7月4日（周六）休市，按下一个交易日 7月6日（周一）计算"_s;
    }
    void limitsFollowTheDay()
    {
        QFETCH(QDate, day);
        const TradingCalendar calendar;
        LimitWindow window(calendar, day);
        QTEST(window.findChild<QLabel*>(u"dayNote"_s)->text(), "note");
        auto* board = window.findChild<QComboBox*>(u"board"_s);
        board->setCurrentIndex(board->findData(int(Board::MainST)));
        window.findChild<InputField*>(u"close"_s)->setText(u"10.05"_s);
        QCOMPARE(board->currentText(), u"主板 ST 10%"_s);
        QCOMPARE(window.findChild<QLabel*>(u"limitUp"_s)->text(), u"涨停价：11.06 元（+10.05%）"_s);
        QVERIFY(window.findChild<QLabel*>(u"note"_s)->text().contains(u"2026年7月6日起 10%"_s));
    }

    // A screen reader has a name for every field, the boxes inside InputField too.
    void everyFieldHasAName_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::newRow("转仓计算器") << u"posmover"_s;
        QTest::newRow("涨停版计算") << u"ceilprice"_s;
    }
    void everyFieldHasAName()
    {
        QFETCH(QString, tool);
        ToolParts parts;
        const std::unique_ptr<QWidget> window = parts.open(tool);
        int fields = 0;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool own =
                qobject_cast<QAbstractSpinBox*>(w->parent()) || qobject_cast<QComboBox*>(w->parent());
            if (own || !(qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                         qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QPlainTextEdit*>(w)))
                continue;
            ++fields;
            const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(),
                     qPrintable(w->objectName() + u" / "_s + w->parentWidget()->objectName()));
        }
        QCOMPARE(fields, tool == u"posmover"_s ? 8 : 4);
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

    void toolsIniLivesBesideConfig()
    {
        // A program folder the user may write keeps config.txt.
        QTemporaryDir program;
        QCOMPARE(ToolApp::settings(program.path())->fileName(), program.filePath(u"tools.ini"_s));
    }

    void toolsIniStartsFromTheUsersOwn()
    {
        {
            QSettings before(QSettings::IniFormat, QSettings::UserScope, u"tickbell"_s, u"tools"_s);
            before.setValue(u"clocktool/servers"_s, QStringList{u"127.0.0.1:1123"_s});
        }
        QTemporaryDir program;
        QCOMPARE(ToolApp::settings(program.path())->value(u"clocktool/servers"_s).toStringList(),
                 QStringList{u"127.0.0.1:1123"_s});
    }

private:
    QTemporaryDir m_userFolder;
};

QTEST_MAIN(TestToolWindows)
#include "tst_tool_windows.moc"
