// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/single_instance.h"

#include "instance/instance_lock.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QThread>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcInstance, "tickbell.instance")

SingleInstance::SingleInstance(const QString& program, QObject* parent) : QObject(parent), m_program(program)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName() const
{
    // Per user; the platform adds the desktop session and the folder.
    return instanceServerName(u"%1-%2"_s.arg(m_program).arg(qHash(QDir::homePath()), 0, 16));
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
        qCWarning(lcInstance, "cannot take the lock %s; going on without the one-copy guard",
                  qUtf8Printable(name));
        return true;
    }
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        qCWarning(lcInstance, "cannot listen for a second start (%s)",
                  qUtf8Printable(m_server->errorString()));
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
