// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/reminders/reminder_book.h"
#include "core/reminders/reminder_days.h"
#include "core/reminders/reminder_voice.h"
#include "platform/dummy/dummy_services.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Reminder reminderOf(const QString& line)
{
    return parseReminderLine(line).reminder;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// The 日子 against the shipped calendar: 2026 as the exchanges announced it, 2027 worked out
// from its festival dates.
class TestReminders : public QObject {
    Q_OBJECT

    TradingCalendar m_calendar;
    QtCodePage m_codePage;

private slots:
    void initTestCase()
    {
        QVERIFY(
            m_calendar
                .loadClosedDaysFile(QStringLiteral(TICKBELL_SOURCE_DIR "/assets/holidays.txt"), m_codePage)
                .isEmpty());
        QVERIFY(m_calendar
                    .loadFestivalDatesFile(
                        QStringLiteral(TICKBELL_SOURCE_DIR "/assets/statutory-holidays.txt"), m_codePage)
                    .isEmpty());
    }

    void days_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("applies");
        const auto row = [](const char* name, const QString& day, QDate date, bool applies) {
            QTest::newRow(name) << day << date << applies;
        };
        const QString before = u"休市前最后一个交易日"_s;
        const QString after = u"休市后第一个交易日"_s;
        row("before Spring Festival", before, QDate(2026, 2, 13), true);
        row("before National Day", before, QDate(2026, 9, 30), true);
        row("before a closed Monday: three days", before, QDate(2026, 4, 3), true);
        row("before the worked-out New Year", before, QDate(2026, 12, 31), true);
        row("plain Friday is no closure", before, QDate(2026, 12, 4), false);
        row("the day before the last", before, QDate(2026, 2, 12), false);
        row("a closed day is none", before, QDate(2026, 10, 7), false);
        row("after Spring Festival", after, QDate(2026, 2, 24), true);
        row("after National Day", after, QDate(2026, 10, 8), true);
        row("after New Year", after, QDate(2026, 1, 5), true);
        row("Monday after a plain weekend", after, QDate(2026, 12, 7), false);
        row("make-up Saturday trades not", u"每个交易日"_s, QDate(2026, 10, 10), false);
        row("a holiday trades not", u"每个交易日"_s, QDate(2026, 2, 16), false);
        row("an ordinary Friday", u"每个交易日"_s, QDate(2026, 10, 9), true);
        row("month starts after New Year", u"每月第一个交易日"_s, QDate(2026, 1, 5), true);
        row("month starts after National Day", u"每月第一个交易日"_s, QDate(2026, 10, 8), true);
        row("month starts after May Day", u"每月第一个交易日"_s, QDate(2026, 5, 6), true);
        row("the second trading day", u"每月第一个交易日"_s, QDate(2026, 10, 9), false);
        row("month ends before National Day", u"每月最后一个交易日"_s, QDate(2026, 9, 30), true);
        row("month ends before May Day", u"每月最后一个交易日"_s, QDate(2026, 4, 30), true);
        row("month ends on a Friday", u"每月最后一个交易日"_s, QDate(2026, 2, 27), true);
        row("the year's last", u"每月最后一个交易日"_s, QDate(2026, 12, 31), true);
        row("the day before the month's last", u"每月最后一个交易日"_s, QDate(2026, 12, 30), false);
        row("Friday that trades", u"周五"_s, QDate(2026, 12, 4), true);
        row("Friday of National Day", u"周五"_s, QDate(2026, 10, 2), false);
        row("Monday on another weekday", u"周一"_s, QDate(2026, 12, 4), false);
        row("a date rings trading or not", u"2026-10-10"_s, QDate(2026, 10, 10), true);
        row("another date", u"2026-10-10"_s, QDate(2026, 10, 11), false);
    }
    void days()
    {
        QFETCH(QString, day);
        QFETCH(QDate, date);
        QFETCH(bool, applies);
        const Reminder reminder = reminderOf(u"14:30 "_s + day + u" 文字"_s);
        QCOMPARE(reminderDayText(reminder.day), day);
        QCOMPARE(appliesOn(reminder, date, m_calendar), applies);
    }

    void lines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("read"); // the reminder written back, or a word of why not
        const auto row = [](const char* name, const QString& line, ReminderLine::Kind kind,
                            const QString& read) { QTest::newRow(name) << line << int(kind) << read; };
        using Kind = ReminderLine::Kind;
        row("time, day, text", u"14:50 每个交易日 尾盘检查持仓"_s, Kind::Reminder,
            u"14:50 每个交易日 尾盘检查持仓"_s);
        row("seconds, one-digit hour, blanks", u"  9:00:30\t周一\u3000看 新 股  "_s, Kind::Reminder,
            u"09:00:30 周一 看 新 股"_s);
        row("date", u"09:00 2027-1-5 新股缴款"_s, Kind::Reminder, u"09:00 2027-01-05 新股缴款"_s);
        row("switched off", u"# 14:50 每个交易日 尾盘检查持仓"_s, Kind::Reminder,
            u"#14:50 每个交易日 尾盘检查持仓"_s);
        row("comment", u"# 我的提醒"_s, Kind::Comment, QString());
        row("commented unreadable is a comment", u"#25:99 每个交易日 x"_s, Kind::Comment, QString());
        row("blank", u" \t"_s, Kind::Blank, QString());
        row("25:99", u"25:99 每个交易日 尾盘检查持仓"_s, Kind::Unreadable, u"25:99"_s);
        row("unknown day", u"14:50 每天 尾盘检查持仓"_s, Kind::Unreadable, u"不认识的日子“每天”"_s);
        row("Saturday", u"14:50 周六 看看"_s, Kind::Unreadable, u"周一到周五"_s);
        row("no text", u"14:50 每个交易日"_s, Kind::Unreadable, u"没有提醒内容"_s);
        row("time alone", u"14:50"_s, Kind::Unreadable, u"没有日子"_s);
        row("date that does not exist", u"09:00 2027-02-30 新股缴款"_s, Kind::Unreadable, u"不存在"_s);
        row("text of 101 characters", u"09:00 周一 "_s + QString(101, u'字'), Kind::Unreadable,
            u"超过100个字"_s);
    }
    void lines()
    {
        QFETCH(QString, line);
        QFETCH(int, kind);
        QFETCH(QString, read);
        const ReminderLine parsed = parseReminderLine(line);
        QCOMPARE(int(parsed.kind), kind);
        if (parsed.kind == ReminderLine::Kind::Reminder)
            QCOMPARE(reminderLine(parsed.reminder), read);
        if (parsed.kind == ReminderLine::Kind::Unreadable)
            QVERIFY2(parsed.why.contains(read), qUtf8Printable(parsed.why));
    }

    void nextTimes()
    {
        const Reminder beforeClosure = reminderOf(u"14:30 休市前最后一个交易日 检查逆回购"_s);
        const QDateTime evening(QDate(2026, 9, 29), QTime(20, 0), Qt::OffsetFromUTC, 8 * 3600);
        const QList<QDateTime> next = nextOccurrences(beforeClosure, evening, m_calendar, 2);
        QCOMPARE(next, (QList<QDateTime>{
                           QDateTime(QDate(2026, 9, 30), QTime(14, 30), Qt::OffsetFromUTC, 8 * 3600),
                           QDateTime(QDate(2026, 12, 31), QTime(14, 30), Qt::OffsetFromUTC, 8 * 3600)}));
        QCOMPARE(occurrenceText(next[1], QDate(2026, 9, 29)), u"12月31日（周四）14:30"_s);
        // The moment itself is past; a moment given in UTC is the same moment in Beijing.
        QCOMPARE(nextOccurrences(beforeClosure, next[0], m_calendar).value(0), next[1]);
        const QDateTime utc(QDate(2026, 9, 30), QTime(6, 29, 59), Qt::UTC);
        QCOMPARE(nextOccurrences(beforeClosure, utc, m_calendar).value(0), next[0]);

        const Reminder dated = reminderOf(u"09:00 2027-01-05 新股缴款"_s);
        const QList<QDateTime> once = nextOccurrences(dated, evening, m_calendar, 5);
        QCOMPARE(once.size(), 1);
        QCOMPARE(occurrenceText(once[0], QDate(2026, 9, 29)), u"2027年1月5日（周二）09:00"_s);
        QVERIFY(nextOccurrences(dated, once[0], m_calendar).isEmpty());
    }

    // Every line the trader did not change keeps its bytes: the byte-order mark, CRLF endings, a
    // line that is not UTF-8, a last line without an ending.
    void fileKeepsItsBytes()
    {
        const QByteArray original =
            "\xEF\xBB\xBF# \xE6\x88\x91\xE7\x9A\x84\xE6\x8F\x90\xE9\x86\x92\r\n"
            "\r\n"
            "14:50  \xE6\xAF\x8F\xE4\xB8\xAA\xE4\xBA\xA4\xE6\x98\x93\xE6\x97\xA5 A\r\n"
            "25:99 \xE6\xAF\x8F\xE4\xB8\xAA\xE4\xBA\xA4\xE6\x98\x93\xE6\x97\xA5 B\r\n"
            "09:00 \xE5\x91\xA8\xE4\xB8\x80 \xC4\xFA\xBA\xC3\r\n"
            "#  10:00 \xE5\x91\xA8\xE4\xBA\x8C C\r\n"
            "11:00 \xE5\x91\xA8\xE4\xB8\x89 D";
        RemindersFile file = RemindersFile::fromBytes(original);
        QCOMPARE(file.toBytes(), original);
        QCOMPARE(file.count(), 3);
        QCOMPARE(file.lineNumber(1), 6);
        QCOMPARE(file.at(1).on, false);
        const QList<RemindersFile::Unreadable> unread = file.unreadable();
        QCOMPARE(unread.size(), 2);
        QCOMPARE(unread[0].line, 4);
        QCOMPARE(unread[1].line, 5);
        QVERIFY(unread[1].why.contains(u"UTF-8"_s));

        QVERIFY(file.setOn(1, true));
        Reminder changed = file.at(0);
        changed.text = u"改"_s;
        QVERIFY(file.replace(0, changed));
        QVERIFY(file.remove(2));
        QVERIFY(file.add(reminderOf(u"14:30 休市前最后一个交易日 E"_s)));
        QVERIFY(!file.add(reminderOf(u"14:30 每个交易日"_s)));
        QCOMPARE(file.toBytes(),
                 QByteArray("\xEF\xBB\xBF# \xE6\x88\x91\xE7\x9A\x84\xE6\x8F\x90\xE9\x86\x92\r\n"
                            "\r\n"
                            "14:50 \xE6\xAF\x8F\xE4\xB8\xAA\xE4\xBA\xA4\xE6\x98\x93\xE6\x97\xA5 "
                            "\xE6\x94\xB9\r\n"
                            "25:99 \xE6\xAF\x8F\xE4\xB8\xAA\xE4\xBA\xA4\xE6\x98\x93\xE6\x97\xA5 B\r\n"
                            "09:00 \xE5\x91\xA8\xE4\xB8\x80 \xC4\xFA\xBA\xC3\r\n"
                            "10:00 \xE5\x91\xA8\xE4\xBA\x8C C\r\n") +
                     u"14:30 休市前最后一个交易日 E\r\n"_s.toUtf8());
        // Off again: only the mark in front.
        QVERIFY(file.setOn(1, false));
        QVERIFY(file.toBytes().contains("#10:00 \xE5\x91\xA8\xE4\xBA\x8C C\r\n"));
    }

    // A save never loses lines: not those of a file read in part, nor another program's changes.
    void bookSavesWithoutLosing()
    {
        QTemporaryDir dir;
        const QString path = ReminderBook::pathBeside(dir.filePath(u"config.txt"_s));
        QCOMPARE(path, dir.filePath(u"reminders.txt"_s));
        ReminderBook book(path);
        book.load();
        QCOMPARE(book.file().count(), 0);
        QVERIFY(book.notice().isEmpty());

        RemindersFile edited = book.file();
        edited.add(reminderOf(u"14:50 每个交易日 尾盘检查持仓"_s));
        QSignalSpy changed(&book, &ReminderBook::changed);
        QVERIFY(book.save(edited));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(readAll(path), u"14:50 每个交易日 尾盘检查持仓\n"_s.toUtf8());

        const QByteArray theirs = u"14:50 每个交易日 尾盘检查持仓\n25:99 周一 x\n09:00 每天 y\n"_s.toUtf8();
        QVERIFY(write(path, theirs));
        QString why;
        QVERIFY(!book.save(RemindersFile(), &why));
        QVERIFY(why.contains(u"别的程序"_s));
        QCOMPARE(readAll(path), theirs);

        book.load();
        QCOMPARE(
            book.notice(),
            u"我的提醒：reminders.txt 第2、3行读不懂，读不懂的行不会提醒。请在“工具”菜单的“我的提醒”里查看。"_s);

        const QByteArray large(ReminderBook::kMaxBytes + 1, '\n');
        QVERIFY(write(path, large));
        book.load();
        QCOMPARE(book.file().count(), 0);
        QVERIFY(!book.notice().isEmpty());
        QVERIFY(!book.save(RemindersFile(), &why));
        QCOMPARE(readAll(path).size(), large.size());
    }

    // The chime, then the text; a second reminder waits its turn; done once, when all is told.
    void voiceChimesThenSpeaks()
    {
        DummyAudio audio;
        DummySpeech speech;
        ReminderVoice voice(audio, speech, u"sound/我的提醒.wav"_s);
        voice.setTiming(20, 5000);
        QSignalSpy done(&voice, &ReminderVoice::done);
        voice.tell(u"A"_s);
        voice.tell(u"B"_s);
        QCOMPARE(audio.played, QStringList{u"sound/我的提醒.wav"_s});
        QVERIFY(speech.said.isEmpty());
        QTRY_COMPARE(speech.said, QStringList{u"A"_s});
        QVERIFY(audio.open.isEmpty()); // the output is free for the prompts again
        speech.finish();
        QCOMPARE(audio.played.size(), 2);
        QTRY_COMPARE(speech.said.size(), 2);
        QVERIFY(done.isEmpty());
        speech.finish();
        QCOMPARE(done.size(), 1);
        QVERIFY(!voice.busy());
    }

    void voiceWithoutVoiceOrStuck()
    {
        DummyAudio audio;
        DummySpeech speech;
        ReminderVoice voice(audio, speech, u"chime.wav"_s);
        voice.setTiming(10, 50);
        QSignalSpy done(&voice, &ReminderVoice::done);
        speech.present = false;
        voice.tell(u"A"_s);
        QTRY_COMPARE(done.size(), 1);
        QCOMPARE(speech.stops, 0);
        // A voice that never says it is done is stopped, and the next reminder goes on.
        speech.present = true;
        voice.tell(u"B"_s);
        QTRY_COMPARE(done.size(), 2);
        QCOMPARE(speech.stops, 1);
    }
};

QTEST_GUILESS_MAIN(TestReminders)
#include "tst_reminders.moc"
