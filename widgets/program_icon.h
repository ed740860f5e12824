// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// The program's icon: the application's own once main() has set it, else made from the
// compiled-in images.
QIcon programIcon();
