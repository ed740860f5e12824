// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ceilprice/limit_price.h"

namespace {

// Hundredths of a percent that limit is away from close, half away from zero.
qint64 percentE2(qint64 limitLi, qint64 closeLi)
{
    const qint64 diff = limitLi - closeLi;
    const qint64 magnitude = ((diff < 0 ? -diff : diff) * 20'000 / closeLi + 1) / 2;
    return diff < 0 ? -magnitude : magnitude;
}

} // namespace

LimitPrices limitPrices(qint64 closeLi, Board board)
{
    const qint64 pct = Boards::limitPercent(board);
    // In 1e-5 yuan: exact products, rounded once to the fen (1000 of them).
    const qint64 up = closeLi * (100 + pct);
    const qint64 down = closeLi * (100 - pct);
    LimitPrices p;
    if (board == Board::Beijing) {
        p.upLi = up / 1000 * 10;
        p.downLi = (down + 999) / 1000 * 10;
    } else {
        p.upLi = (up + 500) / 1000 * 10;
        p.downLi = (down + 500) / 1000 * 10;
    }
    p.downLi = qMax<qint64>(p.downLi, 10);
    p.upPercentE2 = percentE2(p.upLi, closeLi);
    p.downPercentE2 = percentE2(p.downLi, closeLi);
    return p;
}
