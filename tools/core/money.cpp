// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/core/money.h"

using namespace Qt::StringLiterals;

namespace Money {

QString count(qint64 n)
{
    QString digits = QString::number(n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return digits;
}

QString yuan(qint64 li)
{
    const bool negative = li < 0;
    const qint64 a = negative ? -li : li;
    const QString whole = count(a / 1000);
    const qint64 rest = a % 1000;
    const QString fraction =
        rest % 10 == 0 ? u"%1"_s.arg(rest / 10, 2, 10, QChar(u'0')) : u"%1"_s.arg(rest, 3, 10, QChar(u'0'));
    return (negative ? u"-"_s : QString()) + whole + u'.' + fraction;
}

QString rate(qint64 rateE7)
{
    // Percent with five decimals, trailing zeros dropped.
    QString digits = u"%1"_s.arg(rateE7 % 100'000, 5, 10, QChar(u'0'));
    while (digits.endsWith(u'0'))
        digits.chop(1);
    return QString::number(rateE7 / 100'000) + (digits.isEmpty() ? QString() : u'.' + digits) + u'%';
}

qint64 feeOf(qint64 amountLi, qint64 rateE7)
{
    // Up to 1e17 li times 3e4 needs more than 64 bits.
    __extension__ using Wide = __int128;
    const Wide exact = Wide(amountLi) * rateE7; // in 1e-7 li
    const Wide fen = (exact + 50'000'000) / 100'000'000;
    return qint64(fen) * 10;
}

qint64 roundToFen(qint64 li)
{
    return (li + 5) / 10 * 10;
}

} // namespace Money
