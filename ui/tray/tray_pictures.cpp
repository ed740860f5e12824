// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/tray_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

struct Look {
    QColor ground;
    QColor bell;
};

// Trading wears the program's own red and gold; the auctions call in orange, the break rests in
// blue, closed is grey.
Look lookOf(MarketPhase phase)
{
    switch (phase) {
    case MarketPhase::Auction: return {QColor(0xE8, 0x6A, 0x00), Qt::white};
    case MarketPhase::Trading: return {QColor(0xC8, 0x10, 0x2E), QColor(0xFF, 0xD2, 0x1F)};
    case MarketPhase::Midday: return {QColor(0x1F, 0x5F, 0xB8), Qt::white};
    case MarketPhase::Closed: break;
    }
    return {QColor(0x6E, 0x6E, 0x6E), QColor(0xF0, 0xF0, 0xF0)};
}

int px(double fraction, int size)
{
    return int(std::lround(fraction * size));
}

// The bell, its edges on whole pixels: a dome on straight sides over a flared lip, and the clapper.
struct Bell {
    int bodyLeft, bodyRight, lipLeft, lipRight, top, lipTop, lipBottom;
    double clapper; // radius

    explicit Bell(int s)
        : bodyLeft(px(0.27, s)), bodyRight(s - bodyLeft), lipLeft(px(0.14, s)), lipRight(s - lipLeft),
          top(px(0.17, s)), lipTop(px(0.62, s)), lipBottom(lipTop + std::max(2, px(0.1, s))),
          clapper(std::max(1.25, 0.07 * s))
    {
    }

    // The body and lip; inset by t, the body alone down to the lip's lower edge, which makes the
    // hollow of the outlined bell.
    QPainterPath shape(int t = 0) const
    {
        const int left = bodyLeft + t, right = bodyRight - t, width = right - left;
        QPainterPath bell;
        bell.moveTo(left, t ? lipBottom - t : lipTop);
        bell.lineTo(left, top + t + width / 2.0);
        bell.arcTo(QRectF(left, top + t, width, width), 180, -180);
        if (t) {
            bell.lineTo(right, lipBottom - t);
        } else {
            bell.lineTo(right, lipTop);
            bell.lineTo(lipRight, lipTop);
            bell.lineTo(lipRight, lipBottom);
            bell.lineTo(lipLeft, lipBottom);
            bell.lineTo(lipLeft, lipTop);
        }
        bell.closeSubpath();
        return bell;
    }

    QPainterPath clapperShape(int s) const
    {
        QPainterPath path;
        path.addEllipse(QPointF(s / 2.0, lipBottom + clapper), clapper, clapper);
        return path;
    }
};

} // namespace

QPixmap drawTrayPicture(MarketPhase phase, int size)
{
    const Look look = lookOf(phase);
    const int s = size;
    QPixmap picture(s, s);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(look.ground);
    const double corner = std::max(2.0, 0.18 * s);
    p.drawRoundedRect(QRectF(0, 0, s, s), corner, corner);

    const Bell bell(s);
    const int line = std::max(1, px(1 / 14.0, s));
    p.fillPath(bell.clapperShape(s), look.bell);
    switch (phase) {
    case MarketPhase::Trading: p.fillPath(bell.shape(), look.bell); break;
    case MarketPhase::Auction: {
        // Ringing: a stroke each side of the dome.
        p.fillPath(bell.shape(), look.bell);
        p.setPen(QPen(look.bell, line, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        const QRectF ring(0.1 * s, 0.08 * s, 0.8 * s, 0.64 * s);
        p.drawArc(ring, 16 * 125, 16 * 40);
        p.drawArc(ring, 16 * 15, 16 * 40);
        break;
    }
    case MarketPhase::Midday:
        // Resting: the bell's outline.
        p.fillPath(bell.shape().subtracted(bell.shape(line)), look.bell);
        break;
    case MarketPhase::Closed: {
        // Off: the bell struck through, the stroke cut out of it first.
        p.fillPath(bell.shape(), look.bell);
        const QLineF slash(0.2 * s, 0.16 * s, 0.8 * s, 0.84 * s);
        p.setPen(QPen(look.ground, line * 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(slash);
        p.setPen(QPen(look.bell, line, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(slash);
        break;
    }
    }
    return picture;
}

QIcon trayPicture(MarketPhase phase)
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(drawTrayPicture(phase, size));
    return icon;
}
