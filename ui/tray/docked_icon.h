// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QWidget>

class QMenu;

// The tray icon as a small window of the program's own, for an X11 tray that took the place of
// the status-notifier tray Qt's icons are bound to for the run: the picture, the tooltip, a
// click that brings the main window back and the tray's menu on the right button.
class DockedIcon : public QWidget {
    Q_OBJECT
public:
    explicit DockedIcon(QMenu& menu);

    void setIcon(const QIcon& icon);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QMenu& m_menu;
    QIcon m_icon;
};
