// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/core/switch_sum.h"

#include "tools/core/decimal_input.h"
#include "tools/core/money.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The stamp duty was halved on 2023-08-28; the transfer fee has been 0.001 % on both exchanges
// since 2022-04-29.
const QDate kStampDutyHalved(2023, 8, 28);

// Amounts are qint64 li. The largest sale the fields take, with costs of well under 1 % and a
// minimum of at most 1,000 yuan on top, stays far below the limit; a purchase is no larger.
constexpr qint64 kRoomLi = std::numeric_limits<qint64>::max() / 2;
static_assert(Input::kMaxShares * Input::kMaxPriceLi <= kRoomLi);

TradeCost tradeCost(qint64 valueLi, const BrokerRates& broker, qint64 stampDutyE7, qint64 transferE7)
{
    TradeCost c;
    c.valueLi = valueLi;
    c.commissionLi = Money::feeOf(valueLi, broker.commissionE7);
    if (c.commissionLi < broker.minimumLi) {
        c.commissionLi = broker.minimumLi;
        c.minimumCharged = true;
    }
    c.stampDutyLi = Money::feeOf(valueLi, stampDutyE7);
    c.transferLi = Money::feeOf(valueLi, transferE7);
    return c;
}

using Money::count;

QString commissionStep(const QString& side, const TradeCost& c, const BrokerRates& broker)
{
    QString line =
        u"%1佣金：%2 × %3 = %4 元"_s.arg(side, Money::yuan(c.valueLi), Money::rate(broker.commissionE7),
                                         Money::yuan(Money::feeOf(c.valueLi, broker.commissionE7)));
    if (c.minimumCharged)
        line += u"，不足最低 %1 元，按 %1 元收"_s.arg(Money::yuan(broker.minimumLi));
    return line;
}

} // namespace

MarketRates marketRatesOn(QDate day)
{
    return {day < kStampDutyHalved ? 10'000 : 5'000, 100};
}

SwitchResult switchPositions(const SwitchOrder& order)
{
    const MarketRates market = marketRatesOn(order.day);
    SwitchResult r;
    r.sell =
        tradeCost(order.sellShares * order.sellPriceLi, order.broker, market.stampDutyE7, market.transferE7);
    r.proceedsLi = r.sell.valueLi - r.sell.costsLi();
    if (order.buyPriceLi > 0 && r.proceedsLi / order.buyPriceLi > Input::kMaxShares) {
        r.refusal = u"按 %1 元的买入价，卖出所得可买超过 100 亿股，超出计算范围，请检查价格和股数"_s.arg(
            Money::yuan(order.buyPriceLi));
        return r;
    }

    auto buyCost = [&](qint64 shares) {
        return tradeCost(shares * order.buyPriceLi, order.broker, 0, market.transferE7);
    };
    auto total = [](const TradeCost& c) { return c.valueLi + c.costsLi(); };

    // The largest order the proceeds pay for, costs included: the total only grows with the
    // count, so halve the range of valid counts below what the value alone allows.
    const Boards::LotRule lot = Boards::lotRule(order.buyBoard);
    const qint64 ceiling = r.proceedsLi > 0 && order.buyPriceLi > 0 ? r.proceedsLi / order.buyPriceLi : 0;
    const qint64 top = Boards::largestOrder(order.buyBoard, ceiling);
    if (top > 0 && total(buyCost(lot.minimum)) <= r.proceedsLi) {
        qint64 low = 0;                               // steps above the minimum that fit
        qint64 high = (top - lot.minimum) / lot.step; // steps that may fit
        while (low < high) {
            const qint64 mid = low + (high - low + 1) / 2;
            if (total(buyCost(lot.minimum + mid * lot.step)) <= r.proceedsLi)
                low = mid;
            else
                high = mid - 1;
        }
        r.buyShares = lot.minimum + low * lot.step;
    }
    r.buy = buyCost(r.buyShares);
    r.buyTotalLi = r.buyShares > 0 ? total(r.buy) : 0;
    r.cashLeftLi = r.proceedsLi - r.buyTotalLi;

    QStringList& s = r.steps;
    s << u"卖出金额：%1 股 × %2 元 = %3 元"_s.arg(count(order.sellShares), Money::yuan(order.sellPriceLi),
                                                  Money::yuan(r.sell.valueLi));
    s << commissionStep(u"卖出"_s, r.sell, order.broker);
    s << u"印花税（只在卖出时收）：%1 × %2 = %3 元"_s.arg(
        Money::yuan(r.sell.valueLi), Money::rate(market.stampDutyE7), Money::yuan(r.sell.stampDutyLi));
    s << u"过户费：%1 × %2 = %3 元"_s.arg(Money::yuan(r.sell.valueLi), Money::rate(market.transferE7),
                                          Money::yuan(r.sell.transferLi));
    s << u"卖出所得：%1 − %2 − %3 − %4 = %5 元"_s.arg(
        Money::yuan(r.sell.valueLi), Money::yuan(r.sell.commissionLi), Money::yuan(r.sell.stampDutyLi),
        Money::yuan(r.sell.transferLi), Money::yuan(r.proceedsLi));
    const QString lotText = lot.step == lot.minimum
                                ? u"%1每手 %2 股"_s.arg(Boards::name(order.buyBoard), count(lot.minimum))
                                : u"%1至少 %2 股，以上按 %3 股递增"_s.arg(
                                      Boards::name(order.buyBoard), count(lot.minimum), count(lot.step));
    if (r.buyShares == 0) {
        const TradeCost smallest = buyCost(lot.minimum);
        s << u"买入（%1）：卖出所得不够买最少的 %2 股（需要 %3 元）"_s.arg(lotText, count(lot.minimum),
                                                                           Money::yuan(total(smallest)));
    } else {
        s << u"买入（%1）：最多可买 %2 股"_s.arg(lotText, count(r.buyShares));
        s << u"买入金额：%1 股 × %2 元 = %3 元"_s.arg(count(r.buyShares), Money::yuan(order.buyPriceLi),
                                                      Money::yuan(r.buy.valueLi));
        s << commissionStep(u"买入"_s, r.buy, order.broker);
        s << u"过户费：%1 × %2 = %3 元"_s.arg(Money::yuan(r.buy.valueLi), Money::rate(market.transferE7),
                                              Money::yuan(r.buy.transferLi));
        s << u"买入共需：%1 + %2 + %3 = %4 元"_s.arg(
            Money::yuan(r.buy.valueLi), Money::yuan(r.buy.commissionLi), Money::yuan(r.buy.transferLi),
            Money::yuan(r.buyTotalLi));
    }
    s << u"剩余资金：%1 − %2 = %3 元"_s.arg(Money::yuan(r.proceedsLi), Money::yuan(r.buyTotalLi),
                                            Money::yuan(r.cashLeftLi));
    s << u"（每项费用四舍五入到分；印花税 %1、过户费 %2 按 %3 的规定）"_s.arg(
        Money::rate(market.stampDutyE7), Money::rate(market.transferE7), order.day.toString(u"yyyy-MM-dd"_s));
    return r;
}
