// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

// The one-copy guard's system pieces (single_instance.h), per user and desktop session: linux/
// and windows/ here each provide them.

// Where a second start reaches the first copy (a local socket's or pipe's name), from base: a
// socket in the user's runtime folder; on Windows a pipe of the user's session.
QString instanceServerName(const QString& base);

enum class InstanceLock { Taken, HeldByAnother, Unavailable };

// Takes the lock that decides which copy is first, named after serverName. It is held for as
// long as holder lives and is never left behind by a copy that crashed: a lock file under the
// runtime folder's file lock; on Windows a named object of the session, gone with its process.
InstanceLock takeInstanceLock(const QString& serverName, std::shared_ptr<void>& holder);

// In a second start connected to the first copy (socket: the local socket's descriptor): lets
// the first copy take the foreground, which Windows gives only to the process the user works
// in. The first copy's process id, or 0 where nothing needs allowing.
qint64 allowPeerToTakeForeground(qintptr socket);
