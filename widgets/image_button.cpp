// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/image_button.h"

#include "widgets/fonts.h"
#include "widgets/twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kWidth = 1500;
constexpr int kHeight = 450;
} // namespace

ImageButton::ImageButton(const QString& caption, const QColor& textColor, int leftTwips, int topTwips,
                         QWidget* parent)
    : QWidget(parent), m_caption(caption), m_textColor(textColor), m_left(leftTwips), m_top(topTwips)
{
    setAccessibleName(caption);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(twipsRect(m_left, m_top, kWidth, kHeight));
}

void ImageButton::setTop(int twips)
{
    m_top = twips;
    move(px(m_left), px(m_top));
}

void ImageButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::black);

    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(frame, 3, 3);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, QColor(159, 185, 219));
    fill.setColorAt(1, QColor(223, 232, 244));
    p.fillPath(shape, fill);
    p.setPen(QPen(QColor(38, 95, 130), 1));
    p.drawPath(shape);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const qreal inset = 3.5;
    const qreal r = 1.0;
    for (const QPointF& c : {QPointF(inset, inset), QPointF(width() - inset, inset),
                             QPointF(inset, height() - inset), QPointF(width() - inset, height() - inset)})
        p.drawEllipse(c, r, r);

    p.setFont(Fonts::sans(9));
    p.setPen(m_textColor);
    p.drawText(rect(), Qt::AlignCenter, m_caption);
}
