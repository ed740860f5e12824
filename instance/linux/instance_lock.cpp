// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/instance_lock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString instanceServerName(const QString& base)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // In the user's runtime folder, which the session clears; per display: the same user on two
    // desktops gets one each.
    QString display = qEnvironmentVariable("DISPLAY");
    display.replace(u'/', u'_').replace(u':', u'_');
    return dir + u'/' + base + u'-' + display;
}

InstanceLock takeInstanceLock(const QString& serverName, std::shared_ptr<void>& holder)
{
    auto lock = std::make_shared<QLockFile>(serverName + u".lock"_s);
    // Held under a file lock the system drops with the process: a lock file left by one that
    // died is taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        holder = lock;
        return InstanceLock::Taken;
    }
    return lock->error() == QLockFile::LockFailedError ? InstanceLock::HeldByAnother
                                                       : InstanceLock::Unavailable;
}

qint64 allowPeerToTakeForeground(qintptr)
{
    // X11 window managers let a window ask to be raised; nothing to allow.
    return 0;
}
