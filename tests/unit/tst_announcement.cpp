// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/announcement.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The exchanges' real weekday closures of a year, from the shipped holidays.txt.
QList<QDate> realClosures(int year)
{
    QList<QDate> dates;
    const QStringList lines = readText(u"" TICKBELL_SOURCE_DIR "/assets/holidays.txt"_s).split(u'\n');
    for (const QString& line : lines) {
        const QDate date = QDate::fromString(line.trimmed(), Qt::ISODate);
        if (date.year() == year)
            dates << date;
    }
    return dates;
}

} // namespace

class TestAnnouncement : public QObject {
    Q_OBJECT

private slots:
    // One announcement a year, written in the ways the exchanges' and the State Council's are.
    void samplesGiveTheRealClosures_data()
    {
        QTest::addColumn<int>("year");
        for (int year = 2009; year <= 2026; ++year)
            QTest::addRow("%d", year) << year;
    }

    void samplesGiveTheRealClosures()
    {
        QFETCH(int, year);
        const QString text = readText(u"" TICKBELL_SOURCE_DIR "/tests/unit/announcements/%1.txt"_s.arg(year));
        QVERIFY(!text.isEmpty());
        const AnnouncedDays found = parseAnnouncement(text);
        QVERIFY(!found.yearMissing);
        QCOMPARE(found.weekdays, realClosures(year));
    }

    void forms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("year");
        QTest::addColumn<QList<QDate>>("weekdays");
        QTest::addColumn<bool>("yearMissing");
        QTest::newRow("no year anywhere") << u"元旦：1月1日（星期五）休市。"_s << 0 << QList<QDate>{} << true;
        QTest::newRow("the year given")
            << u"元旦：1月1日（星期五）休市。"_s << 2027 << QList<QDate>{QDate(2027, 1, 1)} << false;
        QTest::newRow("the text's year before the given one")
            << u"2028年元旦：1月3日休市"_s << 2027 << QList<QDate>{QDate(2028, 1, 3)} << false;
        QTest::newRow("ISO dates, 号") << u"2027-10-01～2027-10-03休市；10月8号放假"_s << 0
                                       << QList<QDate>{QDate(2027, 10, 1), QDate(2027, 10, 8)} << false;
        QTest::newRow("休市 of the next clause")
            << u"2027年10月8日（星期五）起照常开市，周末照常休市"_s << 0 << QList<QDate>{} << false;
    }

    void forms()
    {
        QFETCH(QString, text);
        QFETCH(int, year);
        const AnnouncedDays found = parseAnnouncement(text, year);
        QTEST(found.weekdays, "weekdays");
        QTEST(found.yearMissing, "yearMissing");
    }

    // What names no days is left out and said, with why, beside what was read.
    void unreadDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QDate>>("weekdays");
        QTest::addColumn<QString>("unread");
        QTest::addColumn<QString>("why");
        QTest::newRow("a day that does not exist")
            << u"2027年2月30日休市，10月8日休市"_s << QList<QDate>{QDate(2027, 10, 8)} << u"2027年2月30日"_s
            << u"没有这一天"_s;
        QTest::newRow("a range that ends before it starts")
            << u"2027年5月5日（星期三）至5月1日休市"_s << QList<QDate>{}
            << u"2027年5月5日（星期三）至5月1日"_s << u"结束的日子在开始的日子之前"_s;
        QTest::newRow("a range too long for a holiday")
            << u"2027年1月1日至3月1日休市"_s << QList<QDate>{} << u"2027年1月1日至3月1日"_s
            << u"超过31天，不像一次休市"_s;
    }

    void unreadDates()
    {
        QFETCH(QString, text);
        QFETCH(QString, unread);
        QFETCH(QString, why);
        const AnnouncedDays found = parseAnnouncement(text);
        QTEST(found.weekdays, "weekdays");
        QCOMPARE(found.unread, (QList<std::pair<QString, QString>>{{unread, why}}));
    }
};

QTEST_GUILESS_MAIN(TestAnnouncement)
#include "tst_announcement.moc"
