// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ui/tool_window.h"

class InputField;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QSettings;

// 转仓计算器: sell N shares at P, buy another stock at Q: how many shares the proceeds buy after
// every cost, and the cash left, with each step of the sum shown. The broker's rates are
// remembered in settings.
class SwitchWindow : public ToolWindow {
    Q_OBJECT
public:
    explicit SwitchWindow(QSettings& settings, QWidget* parent = nullptr);

private:
    void codeEdited();
    void recalculate();

    QSettings& m_settings;
    InputField* m_sellShares;
    InputField* m_sellPrice;
    InputField* m_buyCode;
    QComboBox* m_buyBoard;
    InputField* m_buyPrice;
    InputField* m_rate;
    InputField* m_minimum;
    QLabel* m_summary;
    QPlainTextEdit* m_steps;
};
