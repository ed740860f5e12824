// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A tool's window: Esc closes it, as it would a dialog, and it opens wholly inside the
// available area of the screen the pointer is on, centred, shrunk to fit where it can.
class ToolWindow : public QWidget {
    Q_OBJECT
public:
    explicit ToolWindow(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_placed = false;
};
