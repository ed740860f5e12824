// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/menu_style.h"

#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

void MenuCheckStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const
{
    if (element != PE_IndicatorCheckBox || !qobject_cast<const QMenu*>(widget)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    if (!(option->state & State_On))
        return;
    // A plain tick in the text colour, sized to the indicator box.
    const QRectF r = QRectF(option->rect).adjusted(2, 2, -2, -2);
    QPainterPath tick;
    tick.moveTo(r.left(), r.center().y());
    tick.lineTo(r.left() + r.width() * 0.4, r.bottom());
    tick.lineTo(r.right(), r.top());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const bool selected = option->state & State_Selected;
    painter->setPen(QPen(option->palette.color(selected ? QPalette::HighlightedText : QPalette::Text), 1.6));
    painter->drawPath(tick);
    painter->restore();
}
