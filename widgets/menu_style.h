// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

// Menus that show a check mark only where an item is marked, with nothing beside an unmarked
// one, the way the Window and Edit menus are meant to look. Fusion draws an empty box there.
class MenuCheckStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};
