// SPDX-License-Identifier: GPL-3.0-or-later
// Must not compile: a backend header in a window, which sees only the platform's interfaces.
#include "platform/linux/sound_output.h"
