// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/day/market_phase.h"

#include <QIcon>
#include <QPixmap>

// The tray's picture of a phase: the program's bell on a rounded square, in the phase's colour
// and with its mark, so that the phase shows by shape as well as by colour. Each size is drawn
// for itself on whole pixels: 16, 22, 24 and 32 px, 48 and 64 for 150 % and 200 %.
QIcon trayPicture(MarketPhase phase);
QPixmap drawTrayPicture(MarketPhase phase, int size);
