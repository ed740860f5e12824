// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/single_instance.h"

#include "app/app_log.h"
#include "platform/program_setup.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

using namespace Qt::StringLiterals;

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName()
{
    // Per user; the platform adds the desktop session and the folder.
    return instanceServerName(u"tickbell-%1"_s.arg(qHash(QDir::homePath()), 0, 16));
}

bool SingleInstance::claim()
{
    const QString name = serverName();
    // The lock decides who is first, also when two start at the same moment.
    if (const InstanceLock lock = takeInstanceLock(name, m_lock); lock != InstanceLock::Taken) {
        if (lock == InstanceLock::HeldByAnother) {
            for (int attempt = 0; attempt < 20; ++attempt) {
                QLocalSocket probe;
                probe.connectToServer(name);
                if (probe.waitForConnected(250)) {
                    allowPeerToTakeForeground(probe.socketDescriptor());
                    probe.write("show\n");
                    probe.waitForBytesWritten(250);
                    probe.disconnectFromServer();
                    return false;
                }
                QThread::msleep(100); // the first one may still be starting
            }
            return false;
        }
        qCWarning(lcApp, "cannot take the lock %s; going on without the one-copy guard",
                  qUtf8Printable(name));
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
