// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/stock_board.h"

// The day's limit-up and limit-down prices from the previous close: the close times (1 ± the
// board's limit), to the fen. Shanghai and Shenzhen round half up; the Beijing Stock Exchange
// rounds toward the close, so its limits never pass 30 %. A limit-down price is at least 0.01.
struct LimitPrices {
    qint64 upLi = 0;
    qint64 downLi = 0;
    // What the limits really are, in hundredths of a percent of the close, rounded half away
    // from zero: 991 is +9.91 %.
    qint64 upPercentE2 = 0;
    qint64 downPercentE2 = 0;
};

// closeLi: the previous close in li, more than zero.
LimitPrices limitPrices(qint64 closeLi, Board board);
