// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/stock_board.h"

using namespace Qt::StringLiterals;

namespace Boards {

const QList<Board>& all()
{
    static const QList<Board> boards = {Board::Main, Board::MainST, Board::ChiNext, Board::Star,
                                        Board::Beijing};
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

QString label(Board board)
{
    return u"%1 %2%"_s.arg(name(board)).arg(limitPercent(board));
}

int limitPercent(Board board)
{
    switch (board) {
    case Board::Main: return 10;
    case Board::MainST: return 5;
    case Board::ChiNext:
    case Board::Star: return 20;
    case Board::Beijing: return 30;
    }
    return 10;
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
