// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// The A-share boards, which decide the daily price limit and the order lots.
enum class Board {
    Main,    // Shanghai and Shenzhen main boards
    MainST,  // a main-board stock under risk warning (ST, *ST)
    ChiNext, // Shenzhen's growth board
    Star,    // Shanghai's science and technology board
    Beijing, // the Beijing Stock Exchange
};

namespace Boards {

// The boards and their daily price limits come from one table (stock_board.cpp) of the days
// each limit holds from: a changed rule is a new row there.

// The boards in the order the tools offer them.
QList<Board> all();

QString name(Board board);
// The limit on a trading day, in percent.
int limitPercent(Board board, QDate day);
// "主板 10%" and so on: the name with the day's limit, as the tools offer them.
QString label(Board board, QDate day);
// "2026年7月6日起 10%，此前 5%": the board's limits as they changed, the latest first.
QString limitHistory(Board board);

// The board a six-digit code is listed on, by the exchanges' allocation of codes (Beijing: 920
// and its older 43, 83, 87 and 88). ST cannot be told from the code: a main-board code gives
// Main. nullopt with *error set for anything else: a code of the delisted companies' board says
// so, and one the table does not know says that, instead of a guessed board.
std::optional<Board> fromCode(const QString& code, QString* error);

// A buy order: at least minimum shares, and above that in steps of step.
struct LotRule {
    qint64 minimum;
    qint64 step;
};
LotRule lotRule(Board board);
// The largest share count a buy order on the board may have that is no more than atMost; 0
// when not even the smallest order fits.
qint64 largestOrder(Board board, qint64 atMost);

} // namespace Boards
