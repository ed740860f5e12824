// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/tool_window.h"

class InputField;
class QComboBox;
class QLabel;

// 涨停版计算: the previous close and the board (guessed from the code, changeable) give the
// day's limit-up and limit-down prices and what percentage they really are.
class LimitWindow : public ToolWindow {
    Q_OBJECT
public:
    explicit LimitWindow(QWidget* parent = nullptr);

private:
    void codeEdited();
    void recalculate();

    InputField* m_code;
    QComboBox* m_board;
    InputField* m_close;
    QLabel* m_up;
    QLabel* m_down;
};
