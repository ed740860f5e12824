// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A tool's window: Esc closes it, as it would a dialog, and it opens wholly inside the
// available area of the screen the pointer is on, centred, shrunk to fit where it can. It is as
// tall as its content asks, at its first size and whenever the content grows (the clock tool's
// answers, its advice), within that area.
class ToolWindow : public QWidget {
    Q_OBJECT
public:
    explicit ToolWindow(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fitContent();

    bool m_placed = false;
};
