// SPDX-License-Identifier: GPL-3.0-or-later
#include "reminder/trading_calendar.h"

#include "reminder/statutory_holidays.h"

#include <QFile>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The last year HolidayList speaks for.
constexpr int kBuiltInLastYear = 2010;

// A closed-days file is a few kilobytes; anything far larger is not one.
QString readSmallFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"cannot read %1: %2"_s.arg(path, file.errorString());
        return {};
    }
    // At most the file's own size: Qt allocates all it is asked for up front, and freeing a block
    // that large moves glibc's mmap threshold up, which costs half a megabyte of heap for good.
    return QString::fromUtf8(file.read(qMin<qint64>(file.size(), 1024 * 1024)));
}

} // namespace

const QString HolidayList =
    u"/2009-10-1/2009-10-2/2009-10-5/2009-10-6/2009-10-7/2009-10-8/2010-1-1/2010-2-15/2010-2-16/"
    "2010-2-17/2010-2-18/2010-2-19/2010-4-5/2010-5-3/2010-6-16/2010-6-17/2010-6-18/2010-9-22/"
    "2010-9-23/2010-9-24/2010-10-1/"_s;

QString DateKey(QDate date)
{
    // Made directly rather than from the locale's short-date form, which may pad with zeros.
    // The sign goes before the four year digits: arg() would count it as one of them.
    const qint64 year = date.year();
    return u"%1%2-%3-%4"_s.arg(year < 0 ? u"-"_s : QString())
        .arg(qAbs(year), 4, 10, QChar(u'0'))
        .arg(date.month())
        .arg(date.day());
}

int WeekdayNumber(QDate date)
{
    return date.dayOfWeek() % 7 + 1; // Qt: 1 Monday ... 7 Sunday
}

bool IsWeekend(QDate date)
{
    const int n = WeekdayNumber(date);
    return n == 1 || n == 7;
}

bool TradingCalendar::IsHoliday(QDate date) const
{
    if (!date.isValid())
        return false;
    const QString key = DateKey(date);
    if (HolidayList.contains(u'/' + key + u'/') || m_extra.contains(key))
        return true;
    return date.year() > qMax(m_lastYear, kBuiltInLastYear) && m_byRules.contains(date);
}

void TradingCalendar::addClosedDay(QDate date)
{
    if (!date.isValid())
        return;
    m_extra.insert(DateKey(date));
    m_lastYear = qMax(m_lastYear, date.year());
}

QStringList TradingCalendar::addClosedDays(const QString& fileText)
{
    static const QRegularExpression isoDate(u"^(\\d{4})-(\\d{2})-(\\d{2})$"_s);
    QStringList rejected;
    QString text = fileText;
    if (text.startsWith(QChar(0xFEFF))) // editors on Windows save UTF-8 with a byte-order mark
        text.remove(0, 1);
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        const qsizetype hash = line.indexOf(u'#');
        if (hash >= 0)
            line.truncate(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const auto m = isoDate.match(line);
        const QDate date = m.hasMatch()
                               ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt())
                               : QDate();
        if (!date.isValid()) {
            rejected << u"line %1: %2"_s.arg(i + 1).arg(line.left(80));
            continue;
        }
        addClosedDay(date);
    }
    return rejected;
}

QStringList TradingCalendar::loadFile(const QString& path,
                                      QStringList (TradingCalendar::*add)(const QString&),
                                      const QString& rejectedLine)
{
    QString error;
    const QString text = readSmallFile(path, &error);
    if (!error.isEmpty())
        return {error};
    QStringList problems;
    for (const QString& line : (this->*add)(text))
        problems << u"%1: %2, skipped: %3"_s.arg(path, rejectedLine, line);
    return problems;
}

QStringList TradingCalendar::loadClosedDaysFile(const QString& path)
{
    return loadFile(path, &TradingCalendar::addClosedDays, u"not a date"_s);
}

QStringList TradingCalendar::addFestivalDates(const QString& fileText)
{
    QMap<int, FestivalDates> years;
    const QStringList rejected = parseFestivalDates(fileText, years);
    for (auto it = years.cbegin(); it != years.cend(); ++it) {
        for (const QDate& day : statutoryHolidayWeekdays(it.key(), it.value()) +
                                    madeUpWeekdays(it.key(), it.value()) +
                                    customaryBreakWeekdays(it.key(), it.value()))
            m_byRules.insert(day);
        m_ruleYears.insert(it.key());
    }
    return rejected;
}

QStringList TradingCalendar::loadFestivalDatesFile(const QString& path)
{
    return loadFile(path, &TradingCalendar::addFestivalDates, u"not a year of festival dates"_s);
}

QString TradingCalendar::outdatedNotice(QDate today) const
{
    if (m_lastYear == 0 || today.year() <= m_lastYear)
        return {};
    if (!m_ruleYears.contains(today.year()))
        return u"提示：休市日历只到%1年，今年的节假日休市还不知道，请按说明把新一年的休市日期加到 holidays.txt。"_s
            .arg(m_lastYear);
    // Once the file holds any day of a year it decides that year alone: hence all the days.
    return u"提示：休市日历只到%1年，%2年的休市日是按法定节假日推算的；交易所另外调休放假的日子要等公布后才知道。"
           u"公布后请按使用说明把这一年全部的休市日期加到 holidays.txt，每行一个日期（年-月-日）。"_s
               .arg(m_lastYear)
               .arg(today.year());
}
