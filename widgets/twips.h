// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// Design units: 1/1440 inch, 15 to a pixel at 96 dots per inch.
constexpr int px(int twips)
{
    return (twips * 2 + 15) / 30; // rounded to the nearest pixel
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}
