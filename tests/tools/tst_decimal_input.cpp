// SPDX-License-Identifier: GPL-3.0-or-later
// What the tools' fields take, and what each says of anything else.
#include "tools/core/decimal_input.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDecimalInput : public QObject {
    Q_OBJECT

private slots:
    void fields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("error");

        QTest::newRow("price") << u"price"_s << u"12.35"_s << 12'350LL << QString();
        QTest::newRow("price, three decimals") << u"price"_s << u"1.234"_s << 1'234LL << QString();
        QTest::newRow("price, trailing zeros") << u"price"_s << u"12.3500"_s << 12'350LL << QString();
        QTest::newRow("price, typed on a Chinese keyboard")
            << u"price"_s << u" １２。３５ "_s << 12'350LL << QString();
        QTest::newRow("price, empty") << u"price"_s << u"  "_s << 0LL << u"请填写"_s;
        QTest::newRow("price, not a number") << u"price"_s << u"12.3.5"_s << 0LL << u"“12.3.5”不是数字"_s;
        QTest::newRow("price, words") << u"price"_s << u"十二元"_s << 0LL << u"“十二元”不是数字"_s;
        QTest::newRow("price, negative") << u"price"_s << u"-12.35"_s << 0LL << u"不能是负数"_s;
        QTest::newRow("price, four decimals") << u"price"_s << u"12.3456"_s << 0LL << u"价格最多三位小数"_s;
        QTest::newRow("price, zero") << u"price"_s << u"0.000"_s << 0LL << u"价格必须大于 0"_s;
        QTest::newRow("price, too high")
            << u"price"_s << u"100000"_s << 0LL << u"价格太高（最多 99999.999 元）"_s;
        QTest::newRow("price, digits past 64 bits")
            << u"price"_s << u"99999999999999999999999"_s << 0LL << u"价格太高（最多 99999.999 元）"_s;
        QTest::newRow("shares, group commas") << u"shares"_s << u"12,000"_s << 12'000LL << QString();
        QTest::newRow("shares, a fraction") << u"shares"_s << u"100.5"_s << 0LL << u"股数必须是整数"_s;
        QTest::newRow("shares, beyond any account")
            << u"shares"_s << u"10000000001"_s << 0LL << u"超过任何账户的持股（最多 100 亿股）"_s;
        QTest::newRow("rate, 0.025 %") << u"rate"_s << u"0.025"_s << 2'500LL << QString();
        QTest::newRow("rate, above 0.3 %") << u"rate"_s << u"0.31"_s << 0LL << u"佣金率不能超过 0.3%"_s;
        QTest::newRow("minimum, free of the five yuan") << u"minimum"_s << u"0"_s << 0LL << QString();
        QTest::newRow("minimum, below the fen")
            << u"minimum"_s << u"5.001"_s << 0LL << u"最多两位小数（到分）"_s;
    }
    void fields()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        const DecimalInput in = field == u"price"_s    ? Input::price(text)
                                : field == u"shares"_s ? Input::shares(text)
                                : field == u"rate"_s   ? Input::commissionRate(text)
                                                       : Input::minimumCommission(text);
        QTEST(in.error, "error");
        QTEST(in.units, "units");
    }
};

QTEST_GUILESS_MAIN(TestDecimalInput)
#include "tst_decimal_input.moc"
