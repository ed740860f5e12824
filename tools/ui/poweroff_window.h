// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/core/shutdown_countdown.h"
#include "tools/ui/tool_window.h"

class QLabel;
class QPushButton;

// 快速关机: the countdown on top of every window, 立即关机 and 取消 (Esc, or closing the
// window, cancels too). It closes once the system has taken the request.
class PowerOffWindow : public ToolWindow {
    Q_OBJECT
public:
    explicit PowerOffWindow(PowerOff& power, int seconds = 60, QWidget* parent = nullptr);

    ShutdownCountdown& countdown() { return m_countdown; }
    void start();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void display(ShutdownCountdown::State state);

    ShutdownCountdown m_countdown;
    QLabel* m_text;
    QLabel* m_hint;
    QPushButton* m_now;
    QPushButton* m_cancel;
};
