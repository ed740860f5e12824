// SPDX-License-Identifier: GPL-3.0-or-later
// Must not compile: Qt Gui in the core, by its lower-case file name.
#include <QtGui/qpainter.h>
