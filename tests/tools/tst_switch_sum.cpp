// SPDX-License-Identifier: GPL-3.0-or-later
// Switching positions: the fee sum and the lots. The expected figures are worked by hand from
// the rules: commission rate x value with the broker's minimum, stamp duty 0.05 % on the sale
// (0.1 % before 2023-08-28), transfer fee 0.001 % on both sides, each rounded half up to the fen.
#include "tools/core/switch_sum.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSwitchSum : public QObject {
    Q_OBJECT

private slots:
    void feeSum_data()
    {
        QTest::addColumn<SwitchOrder>("order");
        QTest::addColumn<qint64>("sellCommission");
        QTest::addColumn<qint64>("stampDuty");
        QTest::addColumn<qint64>("sellTransfer");
        QTest::addColumn<qint64>("proceeds");
        QTest::addColumn<qint64>("buyShares");
        QTest::addColumn<qint64>("buyTotal");
        QTest::addColumn<qint64>("cashLeft");

        const QDate today(2026, 12, 8);
        // 12,350.00 sold: 3.09 commission is under the minimum, 5.00 is charged; 6.175 of stamp
        // duty rounds up. 12,338.70 buys 1,101 shares at most by value, 1,100 in lots.
        QTest::newRow("minimum commission, main-board lots")
            << SwitchOrder{1000, 12'350, 11'200, Board::Main, {}, today} << 5'000LL << 6'180LL << 120LL
            << 12'338'700LL << 1'100LL << 12'325'120LL << 13'580LL;
        QTest::newRow("stamp duty at 0.1 % before 2023-08-28")
            << SwitchOrder{1000, 12'350, 11'200, Board::Main, {}, QDate(2023, 8, 25)} << 5'000LL << 12'350LL
            << 120LL << 12'332'530LL << 1'100LL << 12'325'120LL << 7'410LL;
        // 512,000.00 sold: commission 128.00 above the minimum. At 38.88 the value alone would
        // allow 13,158 shares; with the costs 13,155 is the most (13,156 needs 511,638.28).
        QTest::newRow("costs take the last shares, STAR steps of one")
            << SwitchOrder{20'000, 25'600, 38'880, Board::Star, {}, today} << 128'000LL << 256'000LL
            << 5'120LL << 511'610'880LL << 13'155LL << 511'599'380LL << 11'500LL;
        // A fund at a three-decimal price, a broker with no minimum; Beijing buys in single
        // shares above 100.
        QTest::newRow("no minimum, three decimals, Beijing")
            << SwitchOrder{10'000, 1'234, 9'870, Board::Beijing, {1'000, 0}, today} << 1'230LL << 6'170LL
            << 120LL << 12'332'480LL << 1'249LL << 12'328'980LL << 3'500LL;
        QTest::newRow("proceeds short of the smallest order")
            << SwitchOrder{100, 3'000, 5'000, Board::Main, {}, today} << 5'000LL << 150LL << 0LL << 294'850LL
            << 0LL << 0LL << 294'850LL;
    }
    void feeSum()
    {
        QFETCH(SwitchOrder, order);
        const SwitchResult r = switchPositions(order);
        QTEST(r.sell.commissionLi, "sellCommission");
        QTEST(r.sell.stampDutyLi, "stampDuty");
        QTEST(r.sell.transferLi, "sellTransfer");
        QTEST(r.proceedsLi, "proceeds");
        QTEST(r.buyShares, "buyShares");
        QTEST(r.buyTotalLi, "buyTotal");
        QTEST(r.cashLeftLi, "cashLeft");
    }

    void refusesWhatItCannotSum()
    {
        // The largest sale the fields take, and a buy price of 0.001: about 10^18 shares.
        const SwitchResult r =
            switchPositions({10'000'000'000, 99'999'999, 1, Board::Main, {}, QDate(2026, 12, 8)});
        QVERIFY(!r.refusal.isEmpty());
        QCOMPARE(r.buyShares, 0);
        QVERIFY(r.steps.isEmpty());
    }

    void lots_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<qint64>("atMost");
        QTest::addColumn<qint64>("order"); // -1: the code names no A-share board, and says why
        QTest::addColumn<QString>("why");

        QTest::newRow("Shanghai main, whole lots") << u"600519"_s << 1999LL << 1900LL << QString();
        QTest::newRow("Shenzhen main, under a lot") << u"000001"_s << 99LL << 0LL << QString();
        QTest::newRow("Shenzhen SME code") << u"002594"_s << 100LL << 100LL << QString();
        QTest::newRow("ChiNext, whole lots") << u"300750"_s << 250LL << 200LL << QString();
        QTest::newRow("ChiNext 301") << u"301269"_s << 100LL << 100LL << QString();
        QTest::newRow("STAR, under 200") << u"688981"_s << 199LL << 0LL << QString();
        QTest::newRow("STAR, single shares above 200") << u"688981"_s << 201LL << 201LL << QString();
        QTest::newRow("STAR 689") << u"689009"_s << 200LL << 200LL << QString();
        QTest::newRow("Beijing 8xx, single shares above 100") << u"830799"_s << 150LL << 150LL << QString();
        QTest::newRow("Beijing 920") << u"920978"_s << 100LL << 100LL << QString();
        QTest::newRow("Beijing 4xx") << u"430047"_s << 99LL << 0LL << QString();
        QTest::newRow("Beijing 87") << u"871981"_s << 150LL << 150LL << QString();
        QTest::newRow("Beijing 88") << u"889001"_s << 100LL << 100LL << QString();
        QTest::newRow("old-system board 400002, not Beijing") << u"400002"_s << 100LL << -1LL << u"退市"_s;
        QTest::newRow("delisted board 420") << u"420047"_s << 100LL << -1LL << u"退市"_s;
        QTest::newRow("4xxxxx the table does not know") << u"410001"_s << 100LL << -1LL << u"代码表里没有"_s;
        QTest::newRow("8xxxxx the table does not know") << u"810001"_s << 100LL << -1LL << u"代码表里没有"_s;
        QTest::newRow("Shanghai 604, not allocated") << u"604000"_s << 100LL << -1LL << u"代码表里没有"_s;
        QTest::newRow("full-width digits") << u"６００５１９"_s << 100LL << 100LL << QString();
        QTest::newRow("Shanghai B share") << u"900901"_s << 100LL << -1LL << u"代码表里没有"_s;
        QTest::newRow("five digits") << u"60051"_s << 100LL << -1LL << u"6 位数字"_s;
        QTest::newRow("letters") << u"60051X"_s << 100LL << -1LL << u"6 位数字"_s;
    }

    void lots()
    {
        QFETCH(QString, code);
        QFETCH(qint64, atMost);
        QFETCH(qint64, order);
        QString error;
        const std::optional<Board> board = Boards::fromCode(code, &error);
        if (order < 0) {
            QVERIFY(!board);
            QFETCH(QString, why);
            QVERIFY2(error.contains(why), qPrintable(error));
            return;
        }
        QVERIFY2(board, qPrintable(error));
        QCOMPARE(Boards::largestOrder(*board, atMost), order);
    }
};

QTEST_GUILESS_MAIN(TestSwitchSum)
#include "tst_switch_sum.moc"
