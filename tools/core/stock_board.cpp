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

// The exchanges' allocation of A-share codes by their first digits: Shanghai's main board 600,
// 601, 603 and 605 and STAR 688 and 689; Shenzhen's main board 000 to 003 and ChiNext 300 to
// 302; Beijing 920 (its new listings since its 2024 switch) and the older 43, 83, 87 and 88.
// 400 and 420 are the old-system and delisted companies' board, traded on none of them.
struct CodeRule {
    const char16_t* prefix;
    std::optional<Board> board; // none: not on an exchange the tools know
};

const QList<CodeRule>& codeRules()
{
    static const QList<CodeRule> rules = {
        {u"600", Board::Main},    {u"601", Board::Main},    {u"603", Board::Main},
        {u"605", Board::Main},    {u"688", Board::Star},    {u"689", Board::Star},
        {u"000", Board::Main},    {u"001", Board::Main},    {u"002", Board::Main},
        {u"003", Board::Main},    {u"300", Board::ChiNext}, {u"301", Board::ChiNext},
        {u"302", Board::ChiNext}, {u"920", Board::Beijing}, {u"43", Board::Beijing},
        {u"83", Board::Beijing},  {u"87", Board::Beijing},  {u"88", Board::Beijing},
        {u"400", std::nullopt},   {u"420", std::nullopt},
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
    for (const CodeRule& rule : codeRules()) {
        if (!c.startsWith(QStringView(rule.prefix)))
            continue;
        if (!rule.board)
            *error = u"%1 是两网及退市公司板块的代码，不在沪深北交易所交易，没有这里的涨跌幅限制"_s.arg(c);
        return rule.board;
    }
    *error = u"代码表里没有 %1 这样的 A 股代码，请选择板块"_s.arg(c);
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
