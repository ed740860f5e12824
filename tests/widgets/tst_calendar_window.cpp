// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/calendar_keeper.h"
#include "core/calendar/holidays_file.h"
#include "fakes/system_code_page.h"
#include "modal.h"
#include "ui/calendar/calendar_window.h"
#include "ui/calendar/year_view.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const CodePage& kCodePage = systemCodePage();

// The day's part: the calendar for the run, saved as the trading day saves it.
struct Keeper final : CalendarKeeper {
    const TradingCalendar& calendar() const override { return held; }
    bool saveCalendar(const TradingCalendar& edited, QString* error) override
    {
        if (fail) {
            *error = u"磁盘是只读的"_s;
            return false;
        }
        if (!HolidaysFile::save(path, edited.ownMarks(), kCodePage, error))
            return false;
        held = edited;
        return true;
    }
    QString calendarPath() const override { return path; }
    QDate exchangeToday() const override { return QDate(2027, 1, 4); }

    TradingCalendar held;
    QString path;
    bool fail = false;
};

} // namespace

// The calendar window at its design size, with the shipped holidays file as the trader's own (as
// in a copy that keeps config.txt in its folder) and the festival dates: 2026 announced, 2027
// worked out.
class TestCalendarWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Keeper m_keeper;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_keeper.path = m_dir.filePath(u"holidays.txt"_s);
        QVERIFY(QFile::copy(QStringLiteral(TICKBELL_SOURCE_DIR "/assets/holidays.txt"), m_keeper.path));
        QVERIFY(m_keeper.held.loadOwnDaysFile(m_keeper.path, kCodePage).isEmpty());
        QVERIFY(m_keeper.held
                    .loadFestivalDatesFile(
                        QStringLiteral(TICKBELL_SOURCE_DIR "/assets/statutory-holidays.txt"), kCodePage)
                    .isEmpty());
    }

    void marksAndReasons_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("described");
        QTest::newRow("announced") << QDate(2026, 10, 7) << u"2026年10月7日 星期三：休市（交易所公布）"_s;
        QTest::newRow("statutory") << QDate(2027, 2, 5) << u"2027年2月5日 星期五：休市（法定节假日）"_s;
        QTest::newRow("made up") << QDate(2027, 5, 3) << u"2027年5月3日 星期一：休市（法定补假）"_s;
        QTest::newRow("customary") << QDate(2027, 2, 11) << u"2027年2月11日 星期四：休市（惯例休市）"_s;
        QTest::newRow("weekend") << QDate(2027, 1, 2) << u"2027年1月2日 星期六：休市（周末）"_s;
        QTest::newRow("trading") << QDate(2027, 1, 5) << u"2027年1月5日 星期二：交易日"_s;
    }

    void marksAndReasons()
    {
        QFETCH(QDate, day);
        QFETCH(QString, described);
        CalendarWindow window(m_keeper);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.year(), 2027); // opens on today's year
        window.showYear(day.year());
        QCOMPARE(describeDay(m_keeper.held, day), described);
        // Each reason has a colour of its own; the trading days stay white.
        const QImage shot = window.grid->grab().toImage();
        const QColor fill = shot.pixelColor(window.grid->cellRect(day).topLeft() + QPoint(2, 2));
        QCOMPARE(fill == QColor(Qt::white), described.endsWith(u"交易日"_s));
        const QDate trading(2027, 1, 6);
        window.showYear(2027);
        const QImage again = window.grid->grab().toImage();
        QCOMPARE(again.pixelColor(window.grid->cellRect(trading).topLeft() + QPoint(2, 2)),
                 QColor(Qt::white));
        if (day.year() == 2027 && !described.endsWith(u"交易日"_s))
            QVERIFY(again.pixelColor(window.grid->cellRect(day).topLeft() + QPoint(2, 2)) !=
                    QColor(Qt::white));
        QVERIFY(window.yearSource->text().startsWith(u"2027年的休市日是按法定节假日推算的"_s));
        window.showYear(2026);
        QCOMPARE(window.yearSource->text(), u"2026年的休市日是交易所公布的。"_s);

        const QString folder = qEnvironmentVariable("TICKBELL_SHOTS");
        if (!folder.isEmpty() && QTest::currentDataTag() == QByteArray("trading")) {
            window.showYear(2027);
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(window.grab().save(folder + u"/calendar.png"_s));
        }
    }

    void keysMoveDaysAndYears()
    {
        CalendarWindow window(m_keeper);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.grid->selected(), QDate(2027, 1, 4));
        QTest::keyClick(window.grid, Qt::Key_Down);
        QTest::keyClick(window.grid, Qt::Key_Right);
        QCOMPARE(window.grid->selected(), QDate(2027, 1, 12));
        QTest::keyClick(window.grid, Qt::Key_PageDown);
        QCOMPARE(window.grid->selected(), QDate(2028, 1, 12));
        QTest::keyClick(window.grid, Qt::Key_Left, Qt::NoModifier);
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(window.grid, Qt::Key_Left);
        QCOMPARE(window.grid->selected(), QDate(2027, 12, 30));
        QCOMPARE(window.year(), 2027);
        for (int i = 0; i < 30; ++i)
            QTest::keyClick(window.grid, Qt::Key_PageUp);
        QCOMPARE(window.year(), CalendarWindow::kFirstYear);
        QVERIFY(!window.previousYear->isEnabled());
    }

    // A paste says what it could not read, and why, beside what it found; a text without a date
    // is told apart from one whose dates say nothing of closing.
    void pasteSaysWhatItCouldNotRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("no date") << u"The exchanges are closed on New Year's Day."_s
                                 << QStringList{u"公告里没有找到像日期的文字"_s};
        QTest::newRow("dates, none closed")
            << u"2027年10月8日（星期五）起照常开市。"_s
            << QStringList{u"公告里找到了日期，但后面都没有写“休市”或“放假”"_s};
        QTest::newRow("a day that does not exist beside one found")
            << u"2027年2月30日休市，10月8日休市。"_s
            << QStringList{u"从公告里找到1个休市的工作日"_s,
                           u"没有用上的日期：“2027年2月30日”（没有这一天）"_s};
    }

    void pasteSaysWhatItCouldNotRead()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, said);
        CalendarWindow window(m_keeper);
        window.announcement->setPlainText(text);
        window.readAnnouncement();
        for (const QString& part : said)
            QVERIFY2(window.status->text().contains(part), qPrintable(window.status->text()));
    }

    // Accessibility clients read each day as the eye reads it, and the legend as text.
    void daysAndLegendAsText()
    {
        CalendarWindow window(m_keeper);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QDate day(2027, 11, 12);
        window.toggleDay(day);
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(window.grid);
        QVERIFY(grid);
        QCOMPARE(grid->childCount(), 365);
        const int index = int(QDate(2027, 1, 1).daysTo(day));
        QAccessibleInterface* cell = grid->child(index);
        QVERIFY(cell);
        QCOMPARE(cell->text(QAccessible::Name), u"2027年11月12日 星期五：休市（自行设定），未保存的修改"_s);
        QVERIFY(cell->state().selected);
        QCOMPARE(grid->indexOfChild(cell), index);
        QCOMPARE(grid->child(3)->text(QAccessible::Name), u"2027年1月4日 星期一：交易日，今天"_s);
        QAccessibleInterface* legend = QAccessible::queryAccessibleInterface(window.legend);
        QStringList read;
        for (int i = 0; i < legend->childCount(); ++i)
            read << legend->child(i)->text(QAccessible::Name);
        QCOMPARE(read.join(u' '), u"白色 交易日 红色 交易所公布 橙色 法定节假日 紫色 法定补假 绿色 惯例休市 "
                                  u"青色 自行设定 灰色 周末 蓝框 今天 圆点 未保存的修改"_s);
    }

    // A click and a pasted announcement change only the window's copy; 保存 writes the file,
    // and a failed save loses nothing.
    void clickPasteAndSave()
    {
        CalendarWindow window(m_keeper);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QDate october8(2027, 10, 8);
        QVERIFY(!m_keeper.held.IsHoliday(october8));
        QTest::mouseClick(window.grid, Qt::LeftButton, {}, window.grid->cellRect(october8).center());
        QVERIFY(window.hasChanges());
        QVERIFY(!m_keeper.held.IsHoliday(october8));
        QVERIFY(window.dayInfo->text().startsWith(u"2027年10月8日 星期五：休市"_s));

        window.announcement->setPlainText(
            u"关于2027年“五一”劳动节休市安排的通知：5月1日（星期六）至5月5日（星期三）休市，"
            "5月6日（星期四）起照常开市。"_s);
        window.readAnnouncement();
        QVERIFY(window.status->text().startsWith(
            u"从公告里找到3个休市的工作日（2027年的部分假期，其余的假期不变）"_s));
        QCOMPARE(window.year(), 2027);

        m_keeper.fail = true;
        ModalWatcher watcher([](QWidget* box) { box->close(); });
        QVERIFY(!window.saveChanges());
        QVERIFY(watcher.seen());
        QVERIFY(window.hasChanges());
        m_keeper.fail = false;
        QVERIFY(window.saveChanges());
        QVERIFY(!window.hasChanges());

        // A notice for one festival: that break as announced, the rest of 2027 still worked out.
        TradingCalendar reread;
        QVERIFY(reread
                    .loadFestivalDatesFile(
                        QStringLiteral(TICKBELL_SOURCE_DIR "/assets/statutory-holidays.txt"), kCodePage)
                    .isEmpty());
        QVERIFY(reread.loadOwnDaysFile(m_keeper.path, kCodePage).isEmpty());
        QCOMPARE(reread.yearSource(2027), YearSource::WorkedOut);
        for (const QDate day : {QDate(2027, 5, 3), QDate(2027, 5, 4), QDate(2027, 5, 5), october8,
                                QDate(2027, 2, 11), QDate(2026, 10, 7)})
            QVERIFY2(reread.IsHoliday(day), qPrintable(day.toString(Qt::ISODate)));
    }

    // Return and Space act on what has the focus; the days' keys are the grid's alone.
    void keysGoToWhatHasTheFocus_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("changedBefore");
        QTest::addColumn<bool>("open");
        QTest::newRow("Return on 保存") << u"saveCalendar"_s << int(Qt::Key_Return) << true << true;
        QTest::newRow("Return on 关闭") << u"closeCalendar"_s << int(Qt::Key_Return) << false << false;
        QTest::newRow("Page Down on 上一年") << u"previousYear"_s << int(Qt::Key_PageDown) << false << true;
    }

    void keysGoToWhatHasTheFocus()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, changedBefore);
        CalendarWindow window(m_keeper);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QDate day(2027, 3, 3);
        if (changedBefore)
            window.toggleDay(day);
        else
            window.showYear(2027);
        const QString dayBefore = window.dayInfo->text();
        auto* target = window.findChild<QWidget*>(focus);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(window.dayInfo->text(), dayBefore); // the same day, neither moved nor changed
        QVERIFY(!window.hasChanges());               // saved, where there was a change
        QTEST(window.isVisible(), "open");
    }
};

QTEST_MAIN(TestCalendarWindow)
#include "tst_calendar_window.moc"
