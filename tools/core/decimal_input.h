// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Numbers as the user types them into the tools' fields. Values are whole counts of the field's
// smallest unit (li for prices, shares, 1e-7 for rates), so the sums below never round twice.
// error is empty when the text is good, else what is wrong, in Chinese, for beside the field.
struct DecimalInput {
    qint64 units = 0;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

namespace Input {

// A price in yuan with up to three decimals, as li (0.001 yuan); more than zero.
DecimalInput price(const QString& text);
// A number of shares: a whole number, more than zero, no more than any account could hold.
DecimalInput shares(const QString& text);
// The broker's commission rate in percent (0.025 means 0.025 %), up to five decimals, as 1e-7 of
// the value; at most the 0.3 % the rules allow.
DecimalInput commissionRate(const QString& text);
// The broker's minimum commission a trade, in yuan with up to two decimals, as fen; may be zero.
DecimalInput minimumCommission(const QString& text);

// The largest share count and price the fields take.
inline constexpr qint64 kMaxShares = 10'000'000'000;
inline constexpr qint64 kMaxPriceLi = 99'999'999;

} // namespace Input
