// SPDX-License-Identifier: GPL-3.0-or-later
// Must not compile: Qt Network in the core, which asks for network time through an interface.
#include <QUdpSocket>
