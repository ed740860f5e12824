// SPDX-License-Identifier: GPL-3.0-or-later
// Must not compile: Qt D-Bus in nettime, which is Qt Core and Network alone.
#include <QDBusMessage>
