// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/trading_calendar.h"
#include "core/reminders/reminder_book.h"
#include "platform/dummy/dummy_services.h"
#include "ui/reminders/reminders_window.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

// 我的提醒 on the shipped calendar, on Monday 2026-09-28 before National Day.
class TestRemindersWindow : public QObject {
    Q_OBJECT

private slots:
    void addChangeDeleteSave()
    {
        QtCodePage codePage;
        TradingCalendar calendar;
        QVERIFY(
            calendar.loadClosedDaysFile(QStringLiteral(TICKBELL_SOURCE_DIR "/assets/holidays.txt"), codePage)
                .isEmpty());
        QTemporaryDir dir;
        const QString path = dir.filePath(u"reminders.txt"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(u"# 我的提醒\r\n14:50 每个交易日 尾盘检查持仓\r\n25:99 周一 错的\r\n"
                   "14:30 休市前最后一个交易日 检查逆回购\r\n10:00 周二 删掉的\r\n"_s.toUtf8());
        file.close();
        ReminderBook book(path);
        book.load();
        DummyClock clock(QDateTime(QDate(2026, 9, 28), QTime(10, 0)));
        RemindersWindow window(book, calendar, clock);
        window.show();

        QCOMPARE(window.list->topLevelItemCount(), 3);
        QCOMPARE(window.list->topLevelItem(1)->text(3), u"下次：9月30日（周三）14:30"_s);
        QVERIFY(window.unreadable->text().startsWith(u"第3行“25:99 周一 错的”读不懂"_s));
        QVERIFY(!window.saveButton->isEnabled());

        // A new one, with its next five days shown before it is added.
        window.timeEdit->setText(u"09:00"_s);
        window.dayChoice->setCurrentIndex(window.dayChoice->count() - 1);
        window.dateEdit->setDate(QDate(2027, 1, 5));
        window.textEdit->setText(u"新股缴款"_s);
        QCOMPARE(window.preview->text(), u"2027年1月5日（周二）09:00"_s);
        QTest::mouseClick(window.addButton, Qt::LeftButton);

        // The first one changed: its day, with the days before the closure in view.
        window.list->setCurrentItem(window.list->topLevelItem(0));
        QCOMPARE(window.textEdit->text(), u"尾盘检查持仓"_s);
        window.dayChoice->setCurrentText(u"每月最后一个交易日"_s);
        QCOMPARE(
            window.preview->text(),
            u"9月30日（周三）14:50、10月30日（周五）14:50、11月30日（周一）14:50、12月31日（周四）14:50、"
            "2027年1月29日（周五）14:50"_s);
        QTest::mouseClick(window.changeButton, Qt::LeftButton);

        window.list->setCurrentItem(window.list->topLevelItem(2));
        QTest::keyClick(window.list, Qt::Key_Delete);
        window.list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        QTest::mouseClick(window.suggestionButtons[0], Qt::LeftButton);
        QCOMPARE(window.list->topLevelItemCount(), 4);
        QCOMPARE(window.list->topLevelItem(1)->text(3), u"已关闭"_s);

        QVERIFY(window.saveButton->isEnabled());
        QTest::mouseClick(window.saveButton, Qt::LeftButton);
        QCOMPARE(readAll(path), u"# 我的提醒\r\n14:50 每月最后一个交易日 尾盘检查持仓\r\n25:99 周一 错的\r\n"
                                "#14:30 休市前最后一个交易日 检查逆回购\r\n09:00 2027-01-05 新股缴款\r\n"
                                "14:50 每个交易日 尾盘检查持仓\r\n"_s.toUtf8());
        QVERIFY(!window.hasChanges());
        QVERIFY(window.status->text().startsWith(u"已保存"_s));
    }
};

QTEST_MAIN(TestRemindersWindow)
#include "tst_reminders_window.moc"
