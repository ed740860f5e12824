// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/docked_icon.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

DockedIcon::DockedIcon(QMenu& menu)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint), m_menu(menu)
{
    // Qt's X11 backend knows its own tray icons' windows by this name: it leaves mapping one to
    // the tray, which reads the icon's size from it first (mapped before, trayer gives it a pixel).
    setObjectName(u"QSystemTrayIconSys"_s);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setAttribute(Qt::WA_QuitOnClose, false);
    // The freedesktop trays' usual size, which the tray reads from the window's hints.
    setMinimumSize(22, 22);
    resize(22, 22);
}

void DockedIcon::setIcon(const QIcon& icon)
{
    m_icon = icon;
    update();
}

void DockedIcon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_icon.paint(&painter, rect());
}

void DockedIcon::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    else if (event->button() == Qt::RightButton)
        m_menu.popup(event->globalPosition().toPoint());
}
