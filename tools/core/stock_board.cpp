// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/core/stock_board.h"

using namespace Qt::StringLiterals;

namespace {

// A board's daily price limit from a trading day on, until a later row of the same board; a
// board's rows run from the oldest.
struct LimitRule {
    Board board;
    QDate from; // invalid: since the board began
    int percent;
};

const QList<LimitRule>& limitRules()
{
    static const QList<LimitRule> rules = {
        {Board::Main, {}, 10},
        {Board::MainST, {}, 5},
        // The exchanges' trading rules as revised in 2026.
        {Board::MainST, QDate(2026, 7, 6), 10},
        {Board::ChiNext, {}, 10},
        // ChiNext's registration reform.
        {Board::ChiNext, QDate(2020, 8, 24), 20},
        {Board::Star, {}, 20},
        {Board::Beijing, {}, 30},
    };
    return rules;
}

} // namespace

namespace Boards {

QList<Board> all()
{
    QList<Board> boards;
    for (const LimitRule& rule : limitRules()) {
        if (!boards.contains(rule.board))
            boards << rule.board;
    }
    return boards;
}

QString name(Board board)
{
    switch (board) {
    case Board::Main: return u"主板"_s;
    case Board::MainST: return u"主板 ST"_s;
    case Board::ChiNext: return u"创业板"_s;
    case Board::Star: return u"科创板"_s;
    case Board::Beijing: return u"北交所"_s;
    }
    return {};
}

int limitPercent(Board board, QDate day)
{
    // An invalid date comes before any day.
    int percent = 0;
    for (const LimitRule& rule : limitRules()) {
        if (rule.board == board && rule.from <= day)
            percent = rule.percent;
    }
    return percent;
}

QString label(Board board, QDate day)
{
    return u"%1 %2%"_s.arg(name(board)).arg(limitPercent(board, day));
}

QString limitHistory(Board board)
{
    QStringList parts;
    for (const LimitRule& rule : limitRules()) {
        if (rule.board != board)
            continue;
        const QDate from = rule.from;
        const QString since = from.isValid()
                                  ? u"%1年%2月%3日起 "_s.arg(from.year()).arg(from.month()).arg(from.day())
                                  : QString();
        parts.prepend(since + u"%1%"_s.arg(rule.percent));
    }
    // The first rule, once there are later ones.
    if (parts.size() > 1)
        parts.last().prepend(u"此前 "_s);
    return parts.join(u"，"_s);
}

std::optional<Board> fromCode(const QString& code, QString* error)
{
    const QString c = code.normalized(QString::NormalizationForm_KC).trimmed();
    bool digits = c.size() == 6;
    for (const QChar ch : c)
        digits = digits && ch >= u'0' && ch <= u'9';
    if (!digits) {
        *error = u"代码应为 6 位数字"_s;
        return std::nullopt;
    }
    const QStringView three = QStringView(c).left(3);
    if (c.startsWith(u"60"_s) || three == u"000" || three == u"001" || three == u"002" || three == u"003")
        return Board::Main;
    if (three == u"300" || three == u"301" || three == u"302")
        return Board::ChiNext;
    if (three == u"688" || three == u"689")
        return Board::Star;
    if (c.startsWith(u'4') || c.startsWith(u'8') || three == u"920")
        return Board::Beijing;
    *error = u"%1 不是 A 股代码，请选择板块"_s.arg(c);
    return std::nullopt;
}

LotRule lotRule(Board board)
{
    switch (board) {
    case Board::Star: return {200, 1};
    case Board::Beijing: return {100, 1};
    default: return {100, 100};
    }
}

qint64 largestOrder(Board board, qint64 atMost)
{
    const LotRule rule = lotRule(board);
    if (atMost < rule.minimum)
        return 0;
    return rule.minimum + (atMost - rule.minimum) / rule.step * rule.step;
}

} // namespace Boards
