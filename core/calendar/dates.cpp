// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calendar/dates.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

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

QString monthDayWeekday(QDate date)
{
    static const char16_t* const weekdays[] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
    return u"%1月%2日（周%3）"_s.arg(date.month())
        .arg(date.day())
        .arg(QString::fromUtf16(weekdays[WeekdayNumber(date) - 1]));
}

QDate parseIsoDate(QStringView text)
{
    static const QRegularExpression isoDate(u"^(\\d{4})-(\\d{2})-(\\d{2})$"_s);
    const auto m = isoDate.match(text.toString());
    return m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt())
                        : QDate();
}
