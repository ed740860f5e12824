// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/core/stock_board.h"

#include <QDateTime>

class TradingCalendar;

// A trading day's limit-up and limit-down prices from the close before: the close times
// (1 ± the board's limit that day), to the fen. Shanghai and Shenzhen round half up; the
// Beijing Stock Exchange rounds toward the close, so its limits never pass 30 %. A limit-down
// price is at least 0.01.
struct LimitPrices {
    qint64 closeLi = 0;
    qint64 upLi = 0;
    qint64 downLi = 0;
    // What the limits really are, in hundredths of a percent of the close, rounded half away
    // from zero: 991 is +9.91 %.
    qint64 upPercentE2 = 0;
    qint64 downPercentE2 = 0;

    // "涨停价：11.06 元（+10.05%）", "跌停价：9.05 元（−9.95%）"; a limit that comes to the close
    // itself says so rather than show a change of 0.00 %.
    QString upText() const;
    QString downText() const;
};

// closeLi: the close in li, more than zero; day: the trading day the limits are for.
LimitPrices limitPrices(qint64 closeLi, Board board, QDate day);

// The trading day whose limits a trader wants at now: today's until the close at 15:00 Beijing
// time, then the next trading day's.
QDate limitDayAt(const QDateTime& now, const TradingCalendar& calendar);
// The first trading day after day (step 1) or before it (step -1); invalid past a year of
// closed days.
QDate nextTradingDay(QDate day, int step, const TradingCalendar& calendar);
