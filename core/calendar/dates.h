// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

// Calendar dates as the trading calendar writes and reads them.

// "2010-2-5": four-digit year, month and day without leading zeros.
QString DateKey(QDate date);
// 1 Sunday, 2 Monday ... 7 Saturday.
int WeekdayNumber(QDate date);
bool IsWeekend(QDate date);

// "12月14日（周一）".
QString monthDayWeekday(QDate date);

// "2024-02-09" and nothing else (four-digit year, two-digit month and day); invalid otherwise.
QDate parseIsoDate(QStringView text);
