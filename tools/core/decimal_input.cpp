// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/core/decimal_input.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMaxDigits = 18; // what fits a qint64 with room to spare

struct Parsed {
    enum class Problem { None, Empty, NotANumber, Negative, TooManyDecimals, TooBig };
    Problem problem = Problem::None;
    qint64 units = 0;
};

// What a Chinese keyboard gives for a number: full-width digits, the ideographic full stop for
// the point, group commas.
QString plain(const QString& text)
{
    QString s = text.normalized(QString::NormalizationForm_KC).trimmed();
    s.replace(u'\u3002', u'.');
    s.remove(u',');
    return s;
}

Parsed parse(const QString& text, int decimals)
{
    using P = Parsed::Problem;
    QString s = plain(text);
    if (s.isEmpty())
        return {P::Empty};
    bool negative = false;
    if (s.startsWith(u'-') || s.startsWith(u'\u2212')) {
        negative = true;
        s = s.mid(1).trimmed();
    }
    static const QRegularExpression number(u"^([0-9]*)(?:\\.([0-9]*))?$"_s);
    const QRegularExpressionMatch m = number.match(s);
    if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(2).isEmpty()))
        return {P::NotANumber};
    if (negative)
        return {P::Negative};
    QString whole = m.captured(1);
    QString fraction = m.captured(2);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (fraction.size() > decimals)
        return {P::TooManyDecimals};
    while (whole.size() > 1 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole.size() > kMaxDigits - decimals)
        return {P::TooBig};
    const QString digits = whole + fraction.leftJustified(decimals, u'0');
    return {P::None, digits.toLongLong()};
}

struct Messages {
    QString decimals;
    QString zero; // empty: zero is allowed
    QString tooBig;
    qint64 max;
};

DecimalInput check(const QString& text, int decimals, const Messages& say)
{
    using P = Parsed::Problem;
    const Parsed p = parse(text, decimals);
    switch (p.problem) {
    case P::Empty: return {0, u"请填写"_s};
    case P::NotANumber: {
        QString shown = text.trimmed();
        if (shown.size() > 12)
            shown = shown.left(12) + u'…';
        return {0, u"“%1”不是数字"_s.arg(shown)};
    }
    case P::Negative: return {0, u"不能是负数"_s};
    case P::TooManyDecimals: return {0, say.decimals};
    case P::TooBig: return {0, say.tooBig};
    case P::None: break;
    }
    if (p.units == 0 && !say.zero.isEmpty())
        return {0, say.zero};
    if (p.units > say.max)
        return {0, say.tooBig};
    return {p.units, {}};
}

} // namespace

namespace Input {

DecimalInput price(const QString& text)
{
    return check(
        text, 3,
        {u"价格最多三位小数"_s, u"价格必须大于 0"_s, u"价格太高（最多 99999.999 元）"_s, kMaxPriceLi});
}

DecimalInput shares(const QString& text)
{
    return check(
        text, 0,
        {u"股数必须是整数"_s, u"股数必须大于 0"_s, u"超过任何账户的持股（最多 100 亿股）"_s, kMaxShares});
}

DecimalInput commissionRate(const QString& text)
{
    // Percent with five decimals is 1e-7 of the value.
    return check(text, 5, {u"佣金率最多五位小数"_s, {}, u"佣金率不能超过 0.3%"_s, 30'000});
}

DecimalInput minimumCommission(const QString& text)
{
    return check(text, 2, {u"最多两位小数（到分）"_s, {}, u"最低佣金太高（最多 1000 元）"_s, 100'000});
}

} // namespace Input
