// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The design's Windows faces first, then the closest faces Debian ships, so the look holds
// with or without the Windows fonts installed.
namespace Fonts {
QFont kai(qreal pointSize);                     // 华文行楷
QFont song(qreal pointSize, bool bold = false); // 宋体; bold is the regular face emboldened
QFont sans(qreal pointSize);                    // the image buttons' captions
} // namespace Fonts
