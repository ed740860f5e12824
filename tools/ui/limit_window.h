// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ui/tool_window.h"

#include <QDate>

class InputField;
class QComboBox;
class QDateEdit;
class QLabel;
class TradingCalendar;

// 涨停版计算: the trading day the limits are for, the close before it and the board (guessed
// from the code, changeable) give the limit-up and limit-down prices by that day's rules and
// what percentage they really are.
class LimitWindow : public ToolWindow {
    Q_OBJECT
public:
    // day: the trading day offered first.
    LimitWindow(const TradingCalendar& calendar, QDate day, QWidget* parent = nullptr);

private:
    void codeEdited();
    void dayChanged();
    void recalculate();

    const TradingCalendar& m_calendar;
    QDateEdit* m_day;
    QLabel* m_dayNote;
    InputField* m_code;
    QComboBox* m_board;
    QLabel* m_closeLabel;
    InputField* m_close;
    QLabel* m_up;
    QLabel* m_down;
    QDate m_tradingDay; // m_day's, or the next trading day when it is closed
};
