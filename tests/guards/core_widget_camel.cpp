// SPDX-License-Identifier: GPL-3.0-or-later
// Must not compile: a widget in the core (tests/guards/CMakeLists.txt tries it).
#include <QLabel>
