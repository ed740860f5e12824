// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ui/tool_window.h"

#include "widgets/window_placement.h"

#include <QLayout>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>

ToolWindow::ToolWindow(QWidget* parent) : QWidget(parent)
{
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

bool ToolWindow::event(QEvent* event)
{
    const bool done = QWidget::event(event);
    // The layout has taken in the change: a longer text, more lines.
    if (event->type() == QEvent::LayoutRequest && isVisible())
        fitContent();
    return done;
}

void ToolWindow::showEvent(QShowEvent* event)
{
    // Sent before the system shows the window: its place is still ours to set.
    if (!m_placed && !event->spontaneous()) {
        m_placed = true;
        fitContent();
        placeWindow(this);
    }
    QWidget::showEvent(event);
}

void ToolWindow::fitContent()
{
    // A word-wrapped label asks for its height at the window's width, which the window's minimum
    // size does not hold: without this, a longer text squeezed the parts below it (the clock
    // tool's server list, cut off with its scroll bar).
    const QLayout* content = layout();
    if (!content || !screen())
        return;
    const int wanted = content->hasHeightForWidth() ? content->totalHeightForWidth(width())
                                                    : content->totalSizeHint().height();
    if (wanted <= height())
        return;
    const QRect area = screen()->availableGeometry();
    const int frame = isVisible() ? frameGeometry().height() - height() : 0;
    resize(width(), qMax(height(), qMin(wanted, area.height() - frame)));
    // Grown past the bottom of the area: up, as far as its top.
    if (isVisible() && frameGeometry().bottom() > area.bottom())
        move(x(), qMax(area.top(), area.bottom() - frameGeometry().height() + 1));
}
