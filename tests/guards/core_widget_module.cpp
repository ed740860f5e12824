// SPDX-License-Identifier: GPL-3.0-or-later
// Must not compile: a widget in the core, through Qt's root folder.
#include <QtWidgets/QLabel>
