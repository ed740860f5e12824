// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Amounts are held in li (0.001 yuan), rates in 1e-7 of the value: whole numbers, so every
// step of a sum is exact and rounds only where the rules round.
namespace Money {

// 12345670 li -> "12,345.67"; a third decimal only when there is one.
QString yuan(qint64 li);
// 1234567 -> "1,234,567": a count of shares (not negative).
QString count(qint64 n);
// 2500 -> "0.025%".
QString rate(qint64 rateE7);
// amount * rate, rounded half up to the fen, in li (amounts and rates are not negative).
qint64 feeOf(qint64 amountLi, qint64 rateE7);
// li rounded half up to the fen.
qint64 roundToFen(qint64 li);

} // namespace Money
