// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ui/tool_window.h"

#include "widgets/window_placement.h"

#include <QShortcut>
#include <QShowEvent>

ToolWindow::ToolWindow(QWidget* parent) : QWidget(parent)
{
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void ToolWindow::showEvent(QShowEvent* event)
{
    // Sent before the system shows the window: its place is still ours to set.
    if (!m_placed && !event->spontaneous()) {
        m_placed = true;
        placeWindow(this);
    }
    QWidget::showEvent(event);
}
