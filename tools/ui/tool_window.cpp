// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ui/tool_window.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QWindow>

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
        placeOnScreen();
    }
    QWidget::showEvent(event);
}

void ToolWindow::placeOnScreen()
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // An X11 window manager frames the window only once it is shown: until then, room for a
    // title bar and borders.
    QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull())
        frame = QMargins(8, 32, 8, 8);
    const QSize inner = size().boundedTo(area.size().shrunkBy(frame)).expandedTo(minimumSize());
    const QSize outer = inner.grownBy(frame);
    // The inside of the window, which the frame then surrounds.
    const QPoint corner(area.x() + qMax(0, (area.width() - outer.width()) / 2) + frame.left(),
                        area.y() + qMax(0, (area.height() - outer.height()) / 2) + frame.top());
    setGeometry(QRect(corner, inner));
}
