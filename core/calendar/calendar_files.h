// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calendar/trading_calendar.h"
#include "core/services/code_page.h"
#include "core/settings/config_location.h"

#include <QStringList>

// The trading calendar as the program and every tool read it: the program folder's holidays.txt
// and festival dates (statutory-holidays.txt), then the trader's own holidays.txt beside
// config.txt where that is not the program folder: it holds the days he set and the years he
// pasted, and his days win. problems gets one plain line for each thing that went wrong.
TradingCalendar loadTradingCalendar(const QString& programFolder, const ConfigLocation& config,
                                    const CodePage& codePage, QStringList* problems);

// Where the calendar window saves the trader's days: beside config.txt.
QString ownHolidaysPath(const ConfigLocation& config);
