// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/window_placement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

const char kPlaced[] = "tickbellPlaced";

QMargins frameMargins(const QWidget* widget)
{
    const QWindow* handle = widget->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

} // namespace

QRect placedFrame(const QRect& available, QSize frame, QSize minimum, const QRect& owner)
{
    QRect placed(QPoint(), frame.boundedTo(available.size()).expandedTo(minimum));
    placed.moveCenter(owner.isValid() ? owner.center() : available.center());
    // Right and bottom first, so that a window larger than the area keeps its top left on it.
    if (placed.right() > available.right())
        placed.moveRight(available.right());
    if (placed.bottom() > available.bottom())
        placed.moveBottom(available.bottom());
    if (placed.left() < available.left())
        placed.moveLeft(available.left());
    if (placed.top() < available.top())
        placed.moveTop(available.top());
    return placed;
}

void placeWindow(QWidget* window)
{
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const bool overOwner = owner && owner->isVisible() && !owner->isMinimized();
    QScreen* screen = overOwner ? owner->screen() : QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = window->screen();
    if (!screen)
        return;
    // An X11 window manager frames a window only once it is shown: until then its owner's frame,
    // from the same window manager, or room for a title bar and borders.
    QMargins frame = frameMargins(window);
    if (frame.isNull() && owner)
        frame = frameMargins(owner);
    if (frame.isNull())
        frame = QMargins(8, 32, 8, 8);
    const QRect outer =
        placedFrame(screen->availableGeometry(), window->size().grownBy(frame),
                    window->minimumSize().grownBy(frame), overOwner ? owner->frameGeometry() : QRect());
    window->setGeometry(outer.marginsRemoved(frame));
}

bool WindowPlacer::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType() || (event->type() != QEvent::Show && event->type() != QEvent::Resize))
        return QObject::eventFilter(watched, event);
    auto* window = static_cast<QWidget*>(watched);
    const Qt::WindowType type = window->windowType();
    if ((type != Qt::Window && type != Qt::Dialog) || !window->parentWidget())
        return QObject::eventFilter(watched, event);
    // Sent before the system shows the window: its place is still ours to set. Once only, so that
    // a window the trader moved stays where he put it.
    if (event->type() == QEvent::Show && !event->spontaneous() && !window->property(kPlaced).toBool()) {
        window->setProperty(kPlaced, true);
        placeWindow(window);
    }
    // A window that sizes itself while it is being shown (a message box does): placed again.
    else if (event->type() == QEvent::Resize && window->isVisible() && window->windowHandle() &&
             !window->windowHandle()->isVisible()) {
        placeWindow(window);
    }
    return QObject::eventFilter(watched, event);
}
