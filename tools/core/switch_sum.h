// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/core/stock_board.h"

#include <QDate>
#include <QStringList>

// Switching positions: sell one stock, buy another with what the sale brings after every cost.
// Amounts in li, rates in 1e-7 of the value (see tools/core/money.h).

// What the broker charges: a rate of the value, at least a minimum a trade.
struct BrokerRates {
    qint64 commissionE7 = 2'500; // 0.025 %
    qint64 minimumLi = 5'000;    // 5 yuan
};

// What the state and the exchanges take on the trading day.
struct MarketRates {
    qint64 stampDutyE7; // on the sale only
    qint64 transferE7;  // on both sides
};
MarketRates marketRatesOn(QDate day);

struct TradeCost {
    qint64 valueLi = 0;
    qint64 commissionLi = 0;
    bool minimumCharged = false;
    qint64 stampDutyLi = 0;
    qint64 transferLi = 0;
    qint64 costsLi() const { return commissionLi + stampDutyLi + transferLi; }
};

struct SwitchOrder {
    qint64 sellShares = 0;
    qint64 sellPriceLi = 0;
    qint64 buyPriceLi = 0;
    Board buyBoard = Board::Main;
    BrokerRates broker;
    QDate day;
};

struct SwitchResult {
    // Why the sum was not done, in Chinese; empty when it was.
    QString refusal;
    TradeCost sell;
    qint64 proceedsLi = 0;
    qint64 buyShares = 0;
    TradeCost buy;
    qint64 buyTotalLi = 0;
    qint64 cashLeftLi = 0;
    QStringList steps; // the sum, step by step, as the window shows it
};

// The sum is refused when the proceeds would buy more shares than a sale may have
// (Input::kMaxShares): then every count and amount it shows stays as small as the fields keep the
// sale, and exact.
SwitchResult switchPositions(const SwitchOrder& order);
