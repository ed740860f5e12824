// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/single_instance.h"

#include "app/app_log.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

using namespace Qt::StringLiterals;

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName()
{
    // Per user and per display: the same user on two desktops gets one each.
    QString display = qEnvironmentVariable("DISPLAY");
    display.replace(u'/', u'_').replace(u':', u'_');
    return u"tickbell-%1-%2"_s.arg(qHash(QDir::homePath()), 0, 16).arg(display);
}

bool SingleInstance::claim()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // The socket and the lock live in the user's runtime folder, which the session clears.
    const QString name = dir + u'/' + serverName();
    // The lock decides who is first, also when two start at the same moment; a lock left by
    // a process that died is taken over.
    m_lock = std::make_unique<QLockFile>(name + u".lock"_s);
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError) {
            for (int attempt = 0; attempt < 20; ++attempt) {
                QLocalSocket probe;
                probe.connectToServer(name);
                if (probe.waitForConnected(250)) {
                    probe.write("show\n");
                    probe.waitForBytesWritten(250);
                    probe.disconnectFromServer();
                    return false;
                }
                QThread::msleep(100); // the first one may still be starting
            }
            return false;
        }
        qCWarning(lcApp, "cannot create the lock in %s; going on without the one-copy guard",
                  qUtf8Printable(dir));
        return true;
    }
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        qCWarning(lcApp, "cannot listen for a second start (%s)", qUtf8Printable(m_server->errorString()));
        return true;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            emit activationRequested();
        }
    });
    return true;
}
