// SPDX-License-Identifier: GPL-3.0-or-later
// The limit prices against real ones. Where the figures come from:
//  - Tushare's documentation of its daily limit-price data (stk_limit) shows, as sample output,
//    the published limit-up and limit-down prices of Shenzhen stocks for 2019-06-25 and of
//    Shenzhen and Beijing stocks for 2026-08-21, without the previous closes. Each row's close
//    here is the one two-decimal price that gives both published limits; that both limits
//    agree on one close is itself the check of the rounding.
//  - Its documentation of the daily limit-up list (limit_list_d) shows, for 2022-06-15, the
//    closing prices of stocks that closed at their limit with the day's change in percent; the
//    close before is the one price that gives that change.
//  - The exchanges' rule: limit = previous close x (1 +/- limit), rounded half up to the fen
//    (Shanghai, Shenzhen), by the limit of the trading day the prices are for. The Beijing rows
//    cannot come from rounding half up (no close gives 160.87 and 86.63 that way); they all fit
//    rounding toward the close.
#include "tools/core/limit_price.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestLimitPrice : public QObject {
    Q_OBJECT

private slots:
    void limits_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<qint64>("closeLi");
        QTest::addColumn<Board>("board");
        QTest::addColumn<qint64>("upLi");
        QTest::addColumn<qint64>("downLi");
        QTest::addColumn<qint64>("upPercentE2"); // 0: not published
        const QDate d2019(2019, 6, 25);
        const QDate d2022(2022, 6, 15);
        const QDate d2026(2026, 8, 21);
        const QDate today(2026, 12, 8);

        // 2019-06-25, Shenzhen main board.
        QTest::newRow("2019 000001") << d2019 << 13'690LL << Board::Main << 15'060LL << 12'320LL << 0LL;
        QTest::newRow("2019 000002") << d2019 << 28'130LL << Board::Main << 30'940LL << 25'320LL << 0LL;
        QTest::newRow("2019 000004") << d2019 << 22'860LL << Board::Main << 25'150LL << 20'570LL << 0LL;
        QTest::newRow("2019 000005") << d2019 << 3'170LL << Board::Main << 3'490LL << 2'850LL << 0LL;
        QTest::newRow("2019 000008") << d2019 << 3'890LL << Board::Main << 4'280LL << 3'500LL << 0LL;
        QTest::newRow("2019 000014") << d2019 << 9'980LL << Board::Main << 10'980LL << 8'980LL << 0LL;
        QTest::newRow("2019 000020") << d2019 << 11'100LL << Board::Main << 12'210LL << 9'990LL << 0LL;
        QTest::newRow("2019 000025") << d2019 << 20'980LL << Board::Main << 23'080LL << 18'880LL << 0LL;
        // The same day's two stocks under risk warning, at 5 %.
        QTest::newRow("2019 000010 ST") << d2019 << 3'340LL << Board::MainST << 3'510LL << 3'170LL << 0LL;
        QTest::newRow("2019 000018 ST") << d2019 << 1'370LL << Board::MainST << 1'440LL << 1'300LL << 0LL;
        // From 2026-07-06 at 10 %, as the main board.
        QTest::newRow("2026-07-06 ST, the first day at 10%")
            << QDate(2026, 7, 6) << 10'050LL << Board::MainST << 11'060LL << 9'050LL << 1005LL;
        // 2026-08-21, Shenzhen main board.
        QTest::newRow("2026 000001") << d2026 << 11'400LL << Board::Main << 12'540LL << 10'260LL << 0LL;
        QTest::newRow("2026 000002") << d2026 << 3'140LL << Board::Main << 3'450LL << 2'830LL << 0LL;
        QTest::newRow("2026 000007") << d2026 << 12'090LL << Board::Main << 13'300LL << 10'880LL << 0LL;
        // 2026-08-21, the Beijing Stock Exchange at 30 %.
        QTest::newRow("2026 920978") << d2026 << 19'400LL << Board::Beijing << 25'220LL << 13'580LL << 0LL;
        QTest::newRow("2026 920981") << d2026 << 29'060LL << Board::Beijing << 37'770LL << 20'350LL << 0LL;
        QTest::newRow("2026 920982 tie")
            << d2026 << 123'750LL << Board::Beijing << 160'870LL << 86'630LL << 0LL;
        QTest::newRow("2026 920985") << d2026 << 4'620LL << Board::Beijing << 6'000LL << 3'240LL << 0LL;
        // 2022-06-15, closed at the limit, with the published change.
        QTest::newRow("2022 000017") << d2022 << 3'320LL << Board::Main << 3'650LL << 2'990LL << 994LL;
        QTest::newRow("2022 000025 tie")
            << d2022 << 26'850LL << Board::Main << 29'540LL << 24'170LL << 1002LL;
        QTest::newRow("2022 000498") << d2022 << 9'460LL << Board::Main << 10'410LL << 8'510LL << 1004LL;
        QTest::newRow("2022 000502") << d2022 << 630LL << Board::Main << 690LL << 570LL << 952LL;
        // From the rule alone: a tie goes up, not to the even fen; 20 % boards; the floor.
        QTest::newRow("rule: tie goes up") << today << 10'150LL << Board::Main << 11'170LL << 9'140LL << 0LL;
        QTest::newRow("rule: ChiNext 10% before 2020-08-24")
            << QDate(2020, 8, 21) << 12'340LL << Board::ChiNext << 13'570LL << 11'110LL << 0LL;
        QTest::newRow("rule: ChiNext 20%")
            << today << 12'340LL << Board::ChiNext << 14'810LL << 9'870LL << 0LL;
        QTest::newRow("rule: STAR 20%") << today << 990LL << Board::Star << 1'190LL << 790LL << 0LL;
        QTest::newRow("rule: limit-down at least 0.01")
            << today << 10LL << Board::Main << 10LL << 10LL << 0LL;
    }
    void limits()
    {
        QFETCH(QDate, day);
        QFETCH(qint64, closeLi);
        QFETCH(Board, board);
        QFETCH(qint64, upLi);
        QFETCH(qint64, downLi);
        QFETCH(qint64, upPercentE2);
        const LimitPrices p = limitPrices(closeLi, board, day);
        QCOMPARE(p.upLi, upLi);
        QCOMPARE(p.downLi, downLi);
        if (upPercentE2 != 0)
            QCOMPARE(p.upPercentE2, upPercentE2);
    }

    void limitAtTheClose()
    {
        // 10 % of 0.04 yuan is less than half a fen: both limits are the close.
        const LimitPrices p = limitPrices(40, Board::Main, QDate(2026, 12, 8));
        QCOMPARE(p.upText(), u"涨停价：0.04 元（与前收盘价相同，不能涨）"_s);
        QCOMPARE(p.downText(), u"跌停价：0.04 元（与前收盘价相同，不能跌）"_s);
    }
};

QTEST_GUILESS_MAIN(TestLimitPrice)
#include "tst_limit_price.moc"
