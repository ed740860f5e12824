// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QRect>

class QWidget;

// Where a window's frame goes: centred over its owner's frame (over the area without an owner),
// shrunk to the available area where it is larger (never below minimum), and moved wholly inside
// it; where even its minimum is larger, its top left corner stays on the area, title bar and all.
QRect placedFrame(const QRect& available, QSize frame, QSize minimum, const QRect& owner);

// Places a window about to be shown: near the window of its parent and inside the available area
// of that window's screen; without one, in the middle of the screen the pointer is on.
void placeWindow(QWidget* window);

// Places each window and dialog the first time it is shown over another (message boxes, file and
// input dialogs included). Installed on the application.
class WindowPlacer : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
